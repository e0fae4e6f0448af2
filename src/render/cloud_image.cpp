#include "render/cloud_image.h"

#include <array>
#include <cmath>
#include <cstring>

#include "render/pixel_order.h"

namespace {

// A channel product truncated toward zero and held to 0..top. Written so
// that a value beyond int's range (the drifting layers are unbounded) or
// not a number comes out as an end of the range, never as undefined.
uint32_t channel(float value, int32_t top) {
    if (!(value >= 1.0f)) return 0;
    if (value >= static_cast<float>(top)) return static_cast<uint32_t>(top);
    return static_cast<uint32_t>(value);
}

// The picture's layers and time for one pass, with each layer's sines of
// the time argument taken once.
class CloudPass {
public:
    CloudPass(const FrameTarget& image, const CloudLayers& layers, float time)
        : image_(image), layers_(layers), time_(time) {
        for (size_t k = 0; k < layers.size(); ++k) cloudThirdSines(layers[k], time, thirdSines_[k].data());
    }

    // Overwrites pixel (x, y); positions outside the picture and pictures
    // in formats that cannot be drawn are left alone.
    void computePixel(uint32_t x, uint32_t y) const {
        if (!isDrawableFormat(image_.format) || x >= static_cast<uint32_t>(image_.width) ||
            y >= static_cast<uint32_t>(image_.height))
            return;
        const float u = static_cast<float>(x) / static_cast<float>(image_.width) - 0.5f;
        const float v = static_cast<float>(y) / static_cast<float>(image_.height) - 0.5f;
        const float r = std::sqrt(u * u + v * v);
        // The sine of the angle, not the angle: it is continuous across the
        // left half of the centre row, where the angle jumps from pi to -pi,
        // so the start-up picture has no seam there and has the same form
        // as every later renewal of its pixels.
        const float g = std::sin(std::atan2(v, u));
        const float t = time_;
        const float l0 = cloudValueWithThirdSines(layers_[0], r - t, g + t, thirdSines_[0].data());
        const float l1 = cloudValueWithThirdSines(layers_[1], r - t, g - t, thirdSines_[1].data());
        const float l2 = cloudValueWithThirdSines(layers_[2], r - t, g, thirdSines_[2].data());

        uint8_t* p = image_.row(static_cast<int32_t>(y));
        switch (image_.format) {
        case kFormatA8R8G8B8:
        case kFormatX8R8G8B8: {
            const uint32_t word = channel(l2 * 56.0f, 255) << 16 | channel(l1 * 40.0f, 255) << 8 |
                                  channel(l0 * 56.0f, 255);
            std::memcpy(p + 4 * x, &word, 4);
            break;
        }
        case kFormatR5G6B5:
        case kFormatX1R5G5B5: {
            // Green sits at bits 6..10 with bit 5 clear in R5G6B5, as the
            // star drawing keeps it.
            const int redShift = image_.format == kFormatR5G6B5 ? 11 : 10;
            const int greenShift = image_.format == kFormatR5G6B5 ? 6 : 5;
            const auto word = static_cast<uint16_t>(channel(l0 * 5.0f, 31) << redShift |
                                                    channel(l1 * 5.0f, 31) << greenShift |
                                                    channel(l2 * 5.0f, 31));
            std::memcpy(p + 2 * x, &word, 2);
            break;
        }
        default: break;
        }
    }

private:
    const FrameTarget& image_;
    const CloudLayers& layers_;
    float time_;
    std::array<std::array<float, kMaxCloudTerms>, 3> thirdSines_{};
};

}  // namespace

void fillCloudImage(const FrameTarget& image, const CloudLayers& layers, float time, PixelOrder& order,
                    Random& rng) {
    order.build(static_cast<uint32_t>(image.width), static_cast<uint32_t>(image.height), rng);
    const CloudPass pass(image, layers, time);
    for (int32_t y = 0; y < image.height; ++y)
        for (int32_t x = 0; x < image.width; ++x)
            pass.computePixel(static_cast<uint32_t>(x), static_cast<uint32_t>(y));
}

void refreshCloudImage(const FrameTarget& image, uint32_t count, const CloudLayers& layers, float time,
                       PixelOrder& order) {
    if (order.size() == 0) return;
    const CloudPass pass(image, layers, time);
    for (uint32_t i = 0; i < count; ++i) {
        const uint32_t e = order.next();
        pass.computePixel(PixelOrder::column(e), PixelOrder::row(e));
    }
}
