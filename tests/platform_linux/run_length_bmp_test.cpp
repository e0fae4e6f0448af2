// Run-length encoded BMPs, which stb_image leaves to the decoder's own
// reader: every code of both encodings, and damaged streams cut off or
// refused without a byte read or written outside the file or the picture.
#include <gtest/gtest.h>

#include <iterator>

#include "platform/linux/pictures/stb_picture_decoder.h"
#include "starfield/run_length_bmps.h"

// Damage within the data is cut off where it starts, never wrapped into the
// next row; pixels no code reaches and indexes past the palette are black.
TEST(RunLengthBmp, EveryCodeOfBothEncodingsAndDamageCutOffOrRefused) {
    std::vector<RunLengthCase> cases(std::begin(kCoveringRunLengthCases), std::end(kCoveringRunLengthCases));
    cases.insert(cases.end(), {
        {"a move leaves black behind", 6, 3, 8, {1, 3, 0, 2, 2, 1, 2, 5, 0, 0, 1, 6, 0, 1}, {"6.....", "...55.", "3....."}},
        {"a run past the row's end", 4, 3, 8, {3, 1, 3, 2, 2, 3, 0, 0, 1, 4, 0, 1}, {"....", "4...", "1112"}},
        {"an index run past it", 4, 3, 8, {0, 6, 1, 2, 3, 4, 5, 6, 1, 7, 0, 0, 2, 8, 0, 1}, {"....", "88..", "1234"}},
        {"a move past it", 4, 3, 8, {0, 2, 9, 0, 1, 6, 0, 0, 1, 2, 0, 1}, {"....", "2...", "...."}},
        {"a move past the top", 4, 3, 8, {2, 5, 0, 2, 1, 9, 1, 6}, {"....", "....", "55.."}},
        {"rows past the top, no end mark", 4, 3, 8, {1, 1, 0, 0, 1, 1, 0, 0, 1, 1, 0, 0, 1, 1}, {"1...", "1...", "1..."}},
        {"indexes past the palette", 4, 3, 8, {2, 15, 1, 16, 1, 200, 0, 1}, {"....", "....", "ff.."}},
    });
    for (const RunLengthCase& c : cases) {
        Picture picture;
        const bool taken = decodePicture(runLengthBmp(c.width, c.height, c.bits, c.codes), picture);
        EXPECT_EQ(taken ? paletteIndexes(picture) : Rows{}, c.picture) << c.name;
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
    EXPECT_EQ(paletteIndexes(picture), Rows{"01"});
}
