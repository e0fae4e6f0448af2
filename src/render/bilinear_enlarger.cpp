#include "render/bilinear_enlarger.h"

#include <cstring>

namespace {

// Every colour channel spread into its own 20-bit lane of a 64-bit word, so
// that one multiply blends all three: a channel times a weight of at most
// 256, plus rounding, stays below 2^17. After the shift back each lane's
// result is its low 8 bits; the fraction of the lane above lies beside it.
constexpr uint64_t kLaneMask = 0xFFu | 0xFFull << 20 | 0xFFull << 40;
constexpr uint64_t kHalf = 128u | 128ull << 20 | 128ull << 40;

uint64_t blend(uint64_t a, uint64_t b, uint32_t weightOfB) {
    return ((a * (256 - weightOfB) + b * weightOfB + kHalf) >> 8) & kLaneMask;
}

struct Layout32 {
    using Pixel = uint32_t;
    static uint64_t spread(Pixel v) {
        return (v & 0xFFu) | static_cast<uint64_t>(v & 0xFF00u) << 12 | static_cast<uint64_t>(v & 0xFF0000u) << 24;
    }
    // Byte 3 is written as 0.
    static Pixel pack(uint64_t s) {
        return static_cast<Pixel>((s & 0xFFu) | (s >> 12 & 0xFF00u) | (s >> 24 & 0xFF0000u));
    }
};

// Five-bit red, green and blue fields; R5G6B5's green is kept as five bits
// at 6..10 with bit 5 clear, the convention of all drawing into such frames.
template <int RedShift, int GreenShift>
struct Layout16 {
    using Pixel = uint16_t;
    static uint64_t spread(Pixel v) {
        return (v & 31u) | static_cast<uint64_t>(v >> GreenShift & 31u) << 20 |
               static_cast<uint64_t>(v >> RedShift & 31u) << 40;
    }
    static Pixel pack(uint64_t s) {
        return static_cast<Pixel>((s & 31u) | (s >> 20 & 31u) << GreenShift | (s >> 40 & 31u) << RedShift);
    }
};

template <class Pixel>
Pixel loadPixel(const uint8_t* row, uint32_t x) {
    Pixel v;
    std::memcpy(&v, row + sizeof(Pixel) * x, sizeof(Pixel));
    return v;
}

}  // namespace

void BilinearEnlarger::Taps::prepare(int32_t sourceLength, int32_t length) {
    first.assign(static_cast<size_t>(length), 0);
    second.assign(static_cast<size_t>(length), 0);
    weight.assign(static_cast<size_t>(length), 0);
    const int64_t last = sourceLength - 1;
    for (int32_t i = 0; i < length; ++i) {
        // Centre of destination sample i in source samples, 16.16 fixed point.
        const int64_t centre = (2 * int64_t{i} + 1) * sourceLength * 65536 / (2 * int64_t{length}) - 32768;
        const int64_t index = centre < 0 ? 0 : centre >> 16;
        const auto k = static_cast<size_t>(i);
        if (centre < 0 || index >= last) {
            first[k] = second[k] = static_cast<uint32_t>(centre < 0 ? 0 : last);
        } else {
            first[k] = static_cast<uint32_t>(index);
            second[k] = static_cast<uint32_t>(index + 1);
            weight[k] = static_cast<uint32_t>((centre & 0xFFFF) >> 8);
        }
    }
}

void BilinearEnlarger::prepare(int32_t sourceWidth, int32_t sourceHeight, int32_t width, int32_t height) {
    columns_.prepare(sourceWidth, width);
    rows_.prepare(sourceHeight, height);
    blendedRow_.assign(static_cast<size_t>(sourceWidth), 0);
}

template <class Layout>
void BilinearEnlarger::enlargeAs(const FrameTarget& source, const FrameTarget& destination) {
    using Pixel = typename Layout::Pixel;
    const auto sourceWidth = static_cast<uint32_t>(source.width);
    const auto width = static_cast<size_t>(destination.width);
    uint64_t* blended = blendedRow_.data();
    const uint32_t* first = columns_.first.data();
    const uint32_t* second = columns_.second.data();
    const uint32_t* weight = columns_.weight.data();
    for (int32_t y = 0; y < destination.height; ++y) {
        const auto k = static_cast<size_t>(y);
        const uint8_t* top = source.row(static_cast<int32_t>(rows_.first[k]));
        const uint8_t* bottom = source.row(static_cast<int32_t>(rows_.second[k]));
        const uint32_t rowWeight = rows_.weight[k];
        for (uint32_t x = 0; x < sourceWidth; ++x)
            blended[x] = blend(Layout::spread(loadPixel<Pixel>(top, x)),
                               Layout::spread(loadPixel<Pixel>(bottom, x)), rowWeight);
        uint8_t* out = destination.row(y);
        for (size_t x = 0; x < width; ++x) {
            const Pixel p = Layout::pack(blend(blended[first[x]], blended[second[x]], weight[x]));
            std::memcpy(out + sizeof(Pixel) * x, &p, sizeof(Pixel));
        }
    }
}

void BilinearEnlarger::enlarge(const FrameTarget& source, const FrameTarget& destination) {
    switch (destination.format) {
    case kFormatA8R8G8B8:
    case kFormatX8R8G8B8: enlargeAs<Layout32>(source, destination); break;
    case kFormatR5G6B5: enlargeAs<Layout16<11, 6>>(source, destination); break;
    case kFormatX1R5G5B5: enlargeAs<Layout16<10, 5>>(source, destination); break;
    default: break;
    }
}
