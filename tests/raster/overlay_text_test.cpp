// The text drawn over a frame for the hack's frame rate: dots exactly where
// the font has them, at every scale and in every format, in the stars'
// whites, and never a byte outside the frame.
#include <gtest/gtest.h>

#include <string>

#include "raster/overlay_text.h"
#include "test_frame.h"

namespace {

// The frame as text, one dot of `scale` pixels a character: '#' white,
// '.' black, ' ' left as it was.
std::vector<std::string> dots(const TestFrame& f, uint32_t white, int32_t scale) {
    std::vector<std::string> rows;
    for (int32_t y = 0; y < f.target.height; y += scale) {
        std::string row;
        for (int32_t x = 0; x < f.target.width; x += scale) {
            const uint32_t v = f.pixel(x, y);
            for (int32_t dy = 0; dy < scale; ++dy)
                for (int32_t dx = 0; dx < scale; ++dx) EXPECT_EQ(f.pixel(x + dx, y + dy), v) << "whole dots";
            row += v == white ? '#' : v == 0 ? '.' : ' ';
        }
        rows.push_back(row);
    }
    return rows;
}

}  // namespace

TEST(OverlayText, DotsWhereTheFontHasThemAtEveryScaleInTheStarsWhites) {
    const std::vector<std::string> oneDot{
        " ............. ",  //
        " ...#......... ",  //
        " ..##......... ",  //
        " ...#......... ",  //
        " ...#......... ",  //
        " ...#......... ",  //
        " ...#....##... ",  //
        " ..###...##... ",  //
        " ............. ",
    };
    for (const auto& [format, white] : {std::pair{kFormatX8R8G8B8, 0x00FFFFFFu}, {kFormatA8R8G8B8, 0x00FFFFFFu},
                                        {kFormatR5G6B5, 0xFFDFu}, {kFormatX1R5G5B5, 0x7FFFu}})
        for (const int32_t scale : {1, 3}) {
            TestFrame f(15 * scale, 9 * scale, format, 0x55);
            EXPECT_EQ(overlayTextSize("1.", scale).width, 13 * scale);
            EXPECT_EQ(overlayTextSize("1.", scale).height, 9 * scale);
            drawOverlayText(f.target, scale, 0, scale, "1.");
            EXPECT_EQ(dots(f, white, scale), oneDot) << format << " at scale " << scale;
            EXPECT_FALSE(f.changedOutside(0, 0, f.target.width - 1, f.target.height - 1)) << "the padding";
        }
}

TEST(OverlayText, ClippedToTheFrameAndNothingIntoWhatCannotBeDrawn) {
    TestFrame f(20, 6, kFormatX8R8G8B8, 0x55);
    drawOverlayText(f.target, -4, 2, 2, "FPS: 99.9");
    EXPECT_FALSE(f.changedOutside(0, 2, 19, 5));
    EXPECT_EQ(f.pixel(0, 2), 0u) << "the box reaches into the frame";

    for (const FrameTarget& none : {FrameTarget{}, FrameTarget{f.bytes.data(), f.target.pitch, 20, 6, kFormatUnknown}})
        drawOverlayText(none, 0, 0, 1, "8");
    drawOverlayText(f.target, 0, 0, 0, "8");
    drawOverlayText(f.target, 30, 10, 1, "8");
    EXPECT_FALSE(f.changedOutside(0, 2, 19, 5)) << "an empty or unknown frame, scale 0, or outside: nothing";
}
