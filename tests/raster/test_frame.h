#pragma once
// A frame in memory for the drawing tests. Its rows are padded past their
// pixels and every byte starts as `fillByte`, so writes outside the pixels show.
#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <vector>

#include "raster/frame_target.h"

struct TestFrame {
    TestFrame(int32_t width, int32_t height, int32_t format, uint8_t fillByte = 0) : fill(fillByte) {
        // A format that cannot be drawn still gets a byte per pixel.
        target = FrameTarget{nullptr, width * std::max(1, bytesPerPixel(format)) + 12, width, height, format};
        bytes.assign(static_cast<size_t>(target.pitch) * static_cast<size_t>(height), fillByte);
        target.pixels = bytes.data();
    }
    uint32_t pixel(int32_t x, int32_t y) const {
        uint32_t v = 0;
        std::memcpy(&v, target.row(y) + x * bytesPerPixel(target.format), static_cast<size_t>(bytesPerPixel(target.format)));
        return v;
    }
    void setPixel(int32_t x, int32_t y, uint32_t v) {
        std::memcpy(target.row(y) + x * bytesPerPixel(target.format), &v, static_cast<size_t>(bytesPerPixel(target.format)));
    }
    // Whether any byte outside pixels x0..x1 of rows y0..y1, padding
    // included, differs from the fill.
    bool changedOutside(int32_t x0, int32_t y0, int32_t x1, int32_t y1) const {
        const int32_t bpp = std::max(1, bytesPerPixel(target.format));
        for (int32_t y = 0; y < target.height; ++y)
            for (int32_t b = 0; b < target.pitch; ++b) {
                const int32_t x = b / bpp;
                const bool inside = b < target.width * bpp && x >= x0 && x <= x1 && y >= y0 && y <= y1;
                if (!inside && target.row(y)[b] != fill) return true;
            }
        return false;
    }

    uint8_t fill;
    std::vector<uint8_t> bytes;
    FrameTarget target;
};

// Blue, green and red of a pixel value in its format's own bits: 8 each in
// the 32-bit formats, 5 in the 16-bit ones (R5G6B5's green at bits 6..10).
inline std::array<uint32_t, 3> channelsOf(uint32_t v, int32_t format) {
    switch (format) {
    case kFormatR5G6B5: return {v & 31, v >> 6 & 31, v >> 11 & 31};
    case kFormatX1R5G5B5: return {v & 31, v >> 5 & 31, v >> 10 & 31};
    default: return {v & 0xFF, v >> 8 & 0xFF, v >> 16 & 0xFF};
    }
}

inline uint32_t pixelOf(const std::array<uint32_t, 3>& c, int32_t format) {
    switch (format) {
    case kFormatR5G6B5: return c[0] | c[1] << 6 | c[2] << 11;
    case kFormatX1R5G5B5: return c[0] | c[1] << 5 | c[2] << 10;
    default: return c[0] | c[1] << 8 | c[2] << 16;
    }
}
