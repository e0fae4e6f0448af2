// Run-length encoded BMPs, which stb_image leaves to the decoder's own
// reader: every code of both encodings, and damaged streams cut off or
// refused without a byte read or written outside the file or the picture.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/byte_order.h"
#include "platform/linux/stb_picture_decoder.h"
#include "starfield/test_pictures.h"

namespace {

// Palette entry i is R 200 + i, G 100 + i, B i, so no entry is black.
std::vector<uint8_t> runLengthBmp(int32_t width, int32_t height, uint16_t bits, const std::vector<uint8_t>& codes,
                                  uint32_t colours = 16) {
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

// The picture, top row first: a palette index as a hex digit, '.' black.
std::vector<std::string> indexes(const Picture& picture) {
    std::vector<std::string> rows;
    for (int32_t y = 0; y < picture.height; ++y) {
        std::string row;
        for (int32_t x = 0; x < picture.width; ++x) {
            const Rgb p = pixelAt(picture, x, y);
            const int i = p.b;
            row += p == Rgb{} ? '.' : p == Rgb{uint8_t(200 + i), uint8_t(100 + i), uint8_t(i)} ? "0123456789abcdef"[i & 15] : '?';
        }
        rows.push_back(row);
    }
    return rows;
}

using Rows = std::vector<std::string>;

}  // namespace

// Codes: n > 0 then an index (a run); 0 0 the row's end; 0 1 the picture's;
// 0 2 dx dy a move; 0 n then n indexes as they stand, padded to whole words.
TEST(RunLengthBmp, EveryCodeOfBothEncodingsBottomRowFirst) {
    struct Case {
        const char* name;
        int32_t width, height;
        uint16_t bits;
        std::vector<uint8_t> codes;
        Rows picture;
    } cases[] = {
        {"runs and row ends", 5, 3, 8, {3, 1, 2, 2, 0, 0, 5, 4, 0, 0, 1, 7, 0, 1}, {"7....", "44444", "11122"}},
        {"odd run as it stands, padded", 5, 2, 8, {0, 3, 5, 6, 7, 0, 2, 9, 0, 0, 0, 4, 1, 2, 3, 4, 0, 1},
         {"1234.", "56799"}},
        {"a move leaves black behind", 6, 3, 8, {1, 3, 0, 2, 2, 1, 2, 5, 0, 0, 1, 6, 0, 1}, {"6.....", "...55.", "3....."}},
        {"4-bit runs take turns", 5, 2, 4, {5, 0x1A, 0, 0, 4, 0xCC, 0, 1}, {"cccc.", "1a1a1"}},
        {"4-bit odd run as it stands, padded", 6, 2, 4, {0, 5, 0x12, 0x34, 0x50, 0, 1, 0xF0, 0, 0, 6, 0x89, 0, 1},
         {"898989", "12345f"}},
    };
    for (const Case& c : cases) {
        Picture picture;
        ASSERT_TRUE(decodePicture(runLengthBmp(c.width, c.height, c.bits, c.codes), picture)) << c.name;
        EXPECT_EQ(indexes(picture), c.picture) << c.name;
    }
}

// Damage within the data is cut off where it starts, never wrapped into the
// next row, and an index past the palette is black; data that end before
// the end-of-picture mark or the top row are refused, as GDI+ refuses them.
TEST(RunLengthBmp, DamagedStreamsAreCutOffOrRefusedWhenTheyEndEarly) {
    const Rows refused;
    struct Case {
        const char* name;
        uint16_t bits;
        std::vector<uint8_t> codes;
        Rows picture;
    } cases[] = {
        {"a run past the row's end", 8, {3, 1, 3, 2, 2, 3, 0, 0, 1, 4, 0, 1}, {"....", "4...", "1112"}},
        {"an index run past it", 8, {0, 6, 1, 2, 3, 4, 5, 6, 1, 7, 0, 0, 2, 8, 0, 1}, {"....", "88..", "1234"}},
        {"a move past it", 8, {0, 2, 9, 0, 1, 6, 0, 0, 1, 2, 0, 1}, {"....", "2...", "...."}},
        {"a move past the top", 8, {2, 5, 0, 2, 1, 9, 1, 6}, {"....", "....", "55.."}},
        {"rows past the top, no end mark", 8, {1, 1, 0, 0, 1, 1, 0, 0, 1, 1, 0, 0, 1, 1}, {"1...", "1...", "1..."}},
        {"indexes past the palette", 8, {2, 15, 1, 16, 1, 200, 0, 1}, {"....", "....", "ff.."}},
        {"no end mark", 8, {4, 3, 0, 0, 2, 7}, refused},
        {"data ending inside an index run", 8, {0, 4, 1, 2}, refused},
        {"or inside a move", 8, {2, 1, 0, 2, 1}, refused},
        {"an odd trailing byte", 4, {3, 0x21, 0}, refused},
    };
    for (const Case& c : cases) {
        Picture picture;
        const bool taken = decodePicture(runLengthBmp(4, 3, c.bits, c.codes), picture);
        EXPECT_EQ(taken ? indexes(picture) : refused, c.picture) << c.name;
    }
}

// Top-down pictures cannot be run-length encoded; the rest is a header that
// contradicts itself or points past the file.
TEST(RunLengthBmp, InconsistentHeadersAreRefused) {
    const std::vector<uint8_t> codes{2, 1, 0, 1};
    std::vector<uint8_t> topDown = runLengthBmp(2, -2, 8, codes), wrongBits = runLengthBmp(2, 2, 8, codes),
                         pixelsPastEnd = runLengthBmp(2, 2, 8, codes);
    wrongBits[28] = 4;
    writeLittleEndian(&pixelsPastEnd[10], static_cast<uint32_t>(pixelsPastEnd.size() + 1));
    std::vector<uint8_t> paletteCut = runLengthBmp(2, 2, 4, {}, 16);
    paletteCut.resize(54 + 15 * 4);
    writeLittleEndian(&paletteCut[10], 54);
    const Picture earlier{1, 1, {1, 2, 3}};
    for (const auto& [name, file] :
         {std::pair{"top-down", topDown}, {"RLE8 of 4 bits", wrongBits}, {"pixels past the end", pixelsPastEnd},
          {"palette cut short", paletteCut}, {"no pixels", runLengthBmp(0, 2, 8, codes)}}) {
        Picture picture = earlier;
        EXPECT_FALSE(decodePicture(file, picture)) << name;
        EXPECT_EQ(picture.rgb, earlier.rgb) << name;
    }
    Picture picture;
    const std::vector<uint8_t> wide = runLengthBmp(40, 32, 8, codes);
    EXPECT_TRUE(decodePicture(wide, picture, 40 * 32));
    EXPECT_FALSE(decodePicture(wide, picture, 40 * 32 - 1));
    // A palette of fewer entries than the depth allows ends where it says.
    ASSERT_TRUE(decodePicture(runLengthBmp(2, 1, 4, {2, 0x01, 0, 1}, 2), picture));
    EXPECT_EQ(indexes(picture), Rows{"01"});
}
