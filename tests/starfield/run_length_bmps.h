#pragma once
// Run-length encoded BMP files made in memory, and the cases the Linux
// reader and GDI+ (tests/saver_windows/programs/file_check.cpp) must agree on.
#include <string>
#include <utility>
#include <vector>

#include "base/byte_order.h"
#include "starfield/picture_decoder.h"

// Palette entry i is R 200 + i, G 100 + i, B i, so no entry is black.
inline std::vector<uint8_t> runLengthBmp(int32_t width, int32_t height, uint16_t bits,
                                         const std::vector<uint8_t>& codes, uint32_t colours = 16) {
    std::vector<uint8_t> b(54, 0);
    b[0] = 'B';
    b[1] = 'M';
    for (uint32_t i = 0; i < colours; ++i) b.insert(b.end(), {uint8_t(i), uint8_t(100 + i), uint8_t(200 + i), 0});
    const auto pixelsAt = static_cast<uint32_t>(b.size());
    b.insert(b.end(), codes.begin(), codes.end());
    for (const auto& [at, value] : {std::pair<size_t, uint32_t>{2, static_cast<uint32_t>(b.size())}, {10, pixelsAt},
                                    {14, 40}, {18, static_cast<uint32_t>(width)}, {22, static_cast<uint32_t>(height)},
                                    {30, bits == 8 ? 1u : 2u}, {46, colours}})
        writeLittleEndian(&b[at], value);
    b[26] = 1;
    b[28] = static_cast<uint8_t>(bits);
    return b;
}

using Rows = std::vector<std::string>;

// The picture, top row first: a palette index as a hex digit, '.' black,
// '?' anything else.
inline Rows paletteIndexes(const Picture& picture) {
    Rows rows(static_cast<size_t>(picture.height));
    for (size_t at = 0; at + 2 < picture.rgb.size(); at += 3) {
        const uint8_t r = picture.rgb[at], g = picture.rgb[at + 1], i = picture.rgb[at + 2];
        rows[at / 3 / static_cast<size_t>(picture.width)] += r == 0 && g == 0 && i == 0           ? '.'
                                                             : i < 16 && r == 200 + i && g == 100 + i ? "0123456789abcdef"[i]
                                                                                                      : '?';
    }
    return rows;
}

struct RunLengthCase {
    const char* name;
    int32_t width, height;
    uint16_t bits;
    std::vector<uint8_t> codes;
    Rows picture;  // none: refused
};

// Codes: n > 0 then an index (a run); 0 0 the row's end; 0 1 the picture's;
// 0 2 dx dy a move; 0 n then n indexes as they stand, padded to whole words.
// Pictures these codes cover whole (GDI+ under Wine leaves a pixel no code
// reaches as its memory held), and data that end early, refused.
inline const RunLengthCase kCoveringRunLengthCases[] = {
    {"runs and row ends", 5, 2, 8, {3, 1, 2, 2, 0, 0, 5, 4, 0, 1}, {"44444", "11122"}},
    {"odd index run, padded", 5, 2, 8, {0, 3, 5, 6, 7, 0, 2, 9, 0, 0, 0, 5, 1, 2, 3, 4, 5, 0, 0, 1}, {"12345", "56799"}},
    {"4-bit runs take turns", 5, 2, 4, {5, 0x1A, 0, 0, 5, 0xCC, 0, 1}, {"ccccc", "1a1a1"}},
    {"4-bit odd index run, padded", 6, 2, 4, {0, 5, 0x12, 0x34, 0x50, 0, 1, 0xF0, 0, 0, 6, 0x89, 0, 1},
     {"898989", "12345f"}},
    {"no end mark", 4, 2, 8, {4, 3, 0, 0, 4, 7}, {}},
    {"data ending inside an index run", 4, 2, 8, {4, 3, 0, 0, 0, 4, 1, 2}, {}},
    {"or inside a move", 4, 2, 8, {4, 1, 0, 2, 1}, {}},
    {"an odd trailing byte", 4, 2, 4, {4, 0x12, 0, 0, 4, 0x34, 0}, {}},
};
