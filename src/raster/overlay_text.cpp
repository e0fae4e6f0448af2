#include "raster/overlay_text.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace {

struct Glyph {
    char character;
    std::array<uint8_t, kGlyphRows> rows;  // bit 4 is the leftmost dot
};

constexpr std::array kFont = {
    Glyph{'0', {0x0E, 0x11, 0x13, 0x15, 0x19, 0x11, 0x0E}}, Glyph{'1', {0x04, 0x0C, 0x04, 0x04, 0x04, 0x04, 0x0E}},
    Glyph{'2', {0x0E, 0x11, 0x01, 0x02, 0x04, 0x08, 0x1F}}, Glyph{'3', {0x1F, 0x02, 0x04, 0x02, 0x01, 0x11, 0x0E}},
    Glyph{'4', {0x02, 0x06, 0x0A, 0x12, 0x1F, 0x02, 0x02}}, Glyph{'5', {0x1F, 0x10, 0x1E, 0x01, 0x01, 0x11, 0x0E}},
    Glyph{'6', {0x06, 0x08, 0x10, 0x1E, 0x11, 0x11, 0x0E}}, Glyph{'7', {0x1F, 0x01, 0x02, 0x04, 0x08, 0x08, 0x08}},
    Glyph{'8', {0x0E, 0x11, 0x11, 0x0E, 0x11, 0x11, 0x0E}}, Glyph{'9', {0x0E, 0x11, 0x11, 0x0F, 0x01, 0x02, 0x0C}},
    Glyph{'F', {0x1F, 0x10, 0x10, 0x1E, 0x10, 0x10, 0x10}}, Glyph{'P', {0x1E, 0x11, 0x11, 0x1E, 0x10, 0x10, 0x10}},
    Glyph{'S', {0x0F, 0x10, 0x10, 0x0E, 0x01, 0x01, 0x1E}}, Glyph{'.', {0x00, 0x00, 0x00, 0x00, 0x00, 0x0C, 0x0C}},
    Glyph{':', {0x00, 0x0C, 0x0C, 0x00, 0x0C, 0x0C, 0x00}}, Glyph{'-', {0x00, 0x00, 0x00, 0x1F, 0x00, 0x00, 0x00}},
};

const Glyph* findGlyph(char c) {
    for (const Glyph& g : kFont)
        if (g.character == c) return &g;
    return nullptr;
}

uint32_t whiteOf(int32_t format) {
    switch (format) {
    case kFormatR5G6B5: return 31u << 11 | 31u << 6 | 31u;
    case kFormatX1R5G5B5: return 31u << 10 | 31u << 5 | 31u;
    default: return 0x00FFFFFFu;
    }
}

// Fills the part of the rectangle inside the frame with `value`.
void fill(const FrameTarget& frame, int32_t left, int32_t top, int32_t width, int32_t height, uint32_t value) {
    const int32_t x0 = std::max(left, 0), x1 = std::min<int64_t>(int64_t{left} + width, frame.width);
    const int32_t y0 = std::max(top, 0), y1 = std::min<int64_t>(int64_t{top} + height, frame.height);
    const int bytes = bytesPerPixel(frame.format);
    const auto value16 = static_cast<uint16_t>(value);
    const void* pixel = bytes == 2 ? static_cast<const void*>(&value16) : &value;
    for (int32_t y = y0; y < y1; ++y) {
        uint8_t* p = frame.row(y) + static_cast<intptr_t>(x0) * bytes;
        for (int32_t x = x0; x < x1; ++x, p += bytes) std::memcpy(p, pixel, static_cast<size_t>(bytes));
    }
}

}  // namespace

OverlaySize overlayTextSize(std::string_view text, int32_t scale) {
    const auto glyphs = static_cast<int32_t>(std::min<size_t>(text.size(), 1000));
    const int32_t dots = glyphs == 0 ? 2 : glyphs * kGlyphAdvance - 1 + 2;
    return {dots * scale, (kGlyphRows + 2) * scale};
}

void drawOverlayText(const FrameTarget& frame, int32_t left, int32_t top, int32_t scale, std::string_view text) {
    if (frame.empty() || !isDrawableFormat(frame.format) || scale < 1) return;
    const OverlaySize box = overlayTextSize(text, scale);
    fill(frame, left, top, box.width, box.height, 0);
    const uint32_t white = whiteOf(frame.format);
    int32_t x = left + scale;
    for (size_t i = 0; i < text.size() && x < frame.width; ++i, x += kGlyphAdvance * scale) {
        const Glyph* glyph = findGlyph(text[i]);
        if (!glyph) continue;
        for (int32_t row = 0; row < kGlyphRows; ++row)
            for (int32_t column = 0; column < kGlyphColumns; ++column)
                if (glyph->rows[static_cast<size_t>(row)] >> (kGlyphColumns - 1 - column) & 1)
                    fill(frame, x + column * scale, top + (row + 1) * scale, scale, scale, white);
    }
}

void eraseOverlayText(const FrameTarget& frame, int32_t left, int32_t top, OverlaySize box) {
    if (frame.empty() || !isDrawableFormat(frame.format)) return;
    fill(frame, left, top, box.width, box.height, 0);
}
