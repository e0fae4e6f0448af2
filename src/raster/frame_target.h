#pragma once
#include <cstdint>

// Display pixel-format codes (the Direct3D values, used on every platform).
enum PixelFormat : int32_t {
    kFormatUnknown = 0,
    kFormatA8R8G8B8 = 21,
    kFormatX8R8G8B8 = 22,
    kFormatR5G6B5 = 23,
    kFormatX1R5G5B5 = 24,
};

// Bytes per pixel of a drawable format, 0 for any other.
constexpr int bytesPerPixel(int32_t format) {
    switch (format) {
    case kFormatA8R8G8B8:
    case kFormatX8R8G8B8: return 4;
    case kFormatR5G6B5:
    case kFormatX1R5G5B5: return 2;
    default: return 0;
    }
}

constexpr bool isDrawableFormat(int32_t format) { return bytesPerPixel(format) != 0; }

// The longest side of a frame Lumara draws where the size is not the
// screen's own (lumara-render's --size, a daemon's window): at 4 bytes a
// pixel a frame at this bound is 1 GB, and no X server drives a larger screen.
inline constexpr int32_t kLargestFrameSide = 16384;

// A locked picture the software drawing code writes into. Rows are `pitch`
// bytes apart, which may be more than width * bytes per pixel.
struct FrameTarget {
    uint8_t* pixels = nullptr;
    int32_t pitch = 0;
    int32_t width = 0;
    int32_t height = 0;
    int32_t format = kFormatUnknown;

    // Empty when the lock failed: nothing is drawn into it.
    bool empty() const { return pixels == nullptr; }
    uint8_t* row(int32_t y) const { return pixels + static_cast<intptr_t>(y) * pitch; }
};
