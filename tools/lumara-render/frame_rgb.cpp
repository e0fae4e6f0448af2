#include "frame_rgb.h"

#include <cstring>

namespace {

uint8_t widen5(uint32_t v) { return static_cast<uint8_t>(v << 3 | v >> 2); }

}  // namespace

void rowToRgb(const FrameTarget& frame, int32_t y, uint8_t* out) {
    const uint8_t* p = frame.row(y);
    for (int32_t x = 0; x < frame.width; ++x, out += 3) {
        switch (frame.format) {
        case kFormatA8R8G8B8:
        case kFormatX8R8G8B8:
            out[0] = p[4 * x + 2];
            out[1] = p[4 * x + 1];
            out[2] = p[4 * x];
            break;
        case kFormatR5G6B5:
        case kFormatX1R5G5B5: {
            uint16_t v;
            std::memcpy(&v, p + 2 * x, 2);
            const bool is565 = frame.format == kFormatR5G6B5;
            out[0] = widen5(v >> (is565 ? 11 : 10) & 31);
            out[1] = is565 ? static_cast<uint8_t>((v >> 5 & 63) << 2 | (v >> 5 & 63) >> 4)
                           : widen5(v >> 5 & 31);
            out[2] = widen5(v & 31);
            break;
        }
        default: out[0] = out[1] = out[2] = 0; break;
        }
    }
}

std::vector<uint8_t> frameToRgb(const FrameTarget& frame) {
    const size_t rowBytes = static_cast<size_t>(frame.width) * 3;
    std::vector<uint8_t> rgb(rowBytes * static_cast<size_t>(frame.height));
    for (int32_t y = 0; y < frame.height; ++y) rowToRgb(frame, y, rgb.data() + rowBytes * static_cast<size_t>(y));
    return rgb;
}
