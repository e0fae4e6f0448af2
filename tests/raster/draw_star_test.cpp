#include <gtest/gtest.h>

#include <cstring>

#include "raster/draw_star.h"
#include "raster/splat_table.h"
#include "test_frame.h"

namespace {

constexpr int64_t px(int pixels) { return int64_t{pixels} * 256; }

}  // namespace

TEST(StarBrightness, FallsWithDepthAndFade) {
    EXPECT_EQ(starBrightness(0, 200, 166400), 255);
    EXPECT_EQ(starBrightness(166400, 200, 166400), 55);
    EXPECT_EQ(starBrightness(166400, 300, 166400), 0);  // 255 - 300 is held at 0
    EXPECT_EQ(starBrightness(-83200, 300, 166400), 105);  // depth enters as its magnitude
}

TEST(DrawStarDisabled, GreyMaximumOnThirtyTwoBitFrames) {
    TestFrame frame(8, 6, kFormatA8R8G8B8);
    frame.setPixel(3, 2, 0xFFC86410u);  // b 16, g 100, r 200, byte 3 set
    const StarCanvas canvas{frame.target, nullptr};
    drawStarAt(canvas, px(3), px(2), px(8), px(6), 50);
    EXPECT_EQ(frame.pixel(3, 2), 0x00646464u) << "grey at the green level, byte 3 cleared";
    drawStarAt(canvas, px(3) + 255, px(2) + 255, px(8), px(6), 180);  // same pixel, sub-pixel ignored
    EXPECT_EQ(frame.pixel(3, 2), 0x00B4B4B4u);
    EXPECT_FALSE(frame.changedOutside(3, 2, 3, 2));
}

TEST(DrawStarDisabled, GreyMaximumOnSixteenBitFrames) {
    TestFrame f565(4, 4, kFormatR5G6B5);
    f565.setPixel(1, 1, 0x001C);  // blue 28
    drawStarAt(StarCanvas{f565.target, nullptr}, px(1), px(1), px(4), px(4), 100);  // f5 = 12 < 28
    EXPECT_EQ(f565.pixel(1, 1), 28u << 11 | 28u << 6 | 28u);
    drawStarAt(StarCanvas{f565.target, nullptr}, px(2), px(2), px(4), px(4), 255);
    EXPECT_EQ(f565.pixel(2, 2), 31u << 11 | 31u << 6 | 31u) << "bit 5 stays clear";

    TestFrame f555(4, 4, kFormatX1R5G5B5);
    f555.setPixel(0, 0, 0x8000);  // bit 15 is ignored and written as 0
    drawStarAt(StarCanvas{f555.target, nullptr}, 0, 0, px(4), px(4), 80);
    EXPECT_EQ(f555.pixel(0, 0), 10u << 10 | 10u << 5 | 10u);
}

TEST(DrawStarSplat, AddsCoverageWeightedBrightness) {
    const SplatTable three = buildSplatTable(3);
    TestFrame frame(10, 10, kFormatX8R8G8B8);
    // Sub-pixel (0, 0): the centre pixel is wholly covered (256), so w = f.
    drawStarAt(StarCanvas{frame.target, &three}, px(2), px(3), px(10), px(10), 200);
    EXPECT_EQ(frame.pixel(3, 4), 0x00C8C8C8u);
    EXPECT_EQ(frame.pixel(2, 3), 0x000E0E0Eu);  // 18 * 200 >> 8 = 14
    EXPECT_EQ(frame.pixel(4, 5), (21u * 200 >> 8) * 0x010101u);
    EXPECT_FALSE(frame.changedOutside(2, 3, 4, 5));

    // Sub-pixel bits 3..7 choose the entry: (16, 16) on N = 2 lights only the last pixel.
    const SplatTable two = buildSplatTable(2);
    TestFrame small(6, 6, kFormatX8R8G8B8);
    drawStarAt(StarCanvas{small.target, &two}, px(1) + 128, px(1) + 128 + 7, px(6), px(6), 255);
    EXPECT_EQ(small.pixel(2, 2), (200u * 255 >> 8) * 0x010101u);
    EXPECT_FALSE(small.changedOutside(2, 2, 2, 2));
}

TEST(DrawStarSplat, SaturatesEveryChannel) {
    // Widths 3 and 4 take every path a 32-bit splat row has: four pixels at
    // once, two, and one.
    for (int n : {3, 4}) {
        const SplatTable table = buildSplatTable(n);
        TestFrame frame(8, 8, kFormatX8R8G8B8);
        for (int i = 0; i < 3; ++i) drawStarAt(StarCanvas{frame.target, &table}, px(1), px(1), px(8), px(8), 200);
        EXPECT_EQ(frame.pixel(2, 2), 0x00FFFFFFu) << "N = " << n;
    }
    const SplatTable three = buildSplatTable(3);
    TestFrame f565(6, 6, kFormatR5G6B5);
    f565.setPixel(2, 2, 30u << 11 | 1u << 6 | 2u | 1u << 5);
    drawStarAt(StarCanvas{f565.target, &three}, px(1), px(1), px(6), px(6), 255);  // w = 31
    EXPECT_EQ(f565.pixel(2, 2), 31u << 11 | 31u << 6 | 31u);

    TestFrame f555(6, 6, kFormatX1R5G5B5);
    f555.setPixel(2, 2, 0x8000u | 3u << 10 | 4u << 5 | 5u);
    drawStarAt(StarCanvas{f555.target, &three}, px(1), px(1), px(6), px(6), 80);  // w = 10
    EXPECT_EQ(f555.pixel(2, 2), 13u << 10 | 14u << 5 | 15u);
}

TEST(DrawStarClipping, SplatsNeverReachTheLastColumnOrRow) {
    for (int n : {2, 3, 4, 6, 8}) {
        const SplatTable table = buildSplatTable(n);
        const int w = 20, h = 16;  // even frame
        TestFrame frame(w, h, kFormatX8R8G8B8);
        const StarCanvas canvas{frame.target, &table};
        // The last drawable top-left is W - N - 1; one more pixel is skipped whole.
        drawStarAt(canvas, px(w - n - 1) + 255, px(h - n - 1) + 255, px(w), px(h), 255);
        EXPECT_NE(frame.pixel(w - 2, h - 2), 0u) << "N = " << n;
        drawStarAt(canvas, px(w - n), px(0), px(w), px(h), 255);
        drawStarAt(canvas, px(0), px(h - n), px(w), px(h), 255);
        drawStarAt(canvas, -1, px(1), px(w), px(h), 255);
        drawStarAt(canvas, px(1), -1, px(w), px(h), 255);
        EXPECT_FALSE(frame.changedOutside(w - n - 1, h - n - 1, w - 2, h - 2)) << "N = " << n;
        // The top-left corner is drawable.
        drawStarAt(canvas, 0, 0, px(w), px(h), 255);
        EXPECT_NE(frame.pixel(n / 2, n / 2), 0u);
    }
}

TEST(DrawStarClipping, DisabledModeReachesEveryPixelOfAnEvenFrame) {
    TestFrame even(6, 4, kFormatX8R8G8B8);
    drawStarAt(StarCanvas{even.target, nullptr}, px(5), px(3), px(6), px(4), 255);
    EXPECT_EQ(even.pixel(5, 3), 0x00FFFFFFu);
    drawStarAt(StarCanvas{even.target, nullptr}, px(6), px(0), px(6), px(4), 255);
    EXPECT_FALSE(even.changedOutside(5, 3, 5, 3));

    // An odd width halves to a smaller view: the last column gets no star.
    TestFrame odd(7, 5, kFormatX8R8G8B8);
    const int64_t limitX = 2 * ((7 / 2) * 256), limitY = 2 * ((5 / 2) * 256);
    drawStarAt(StarCanvas{odd.target, nullptr}, px(6), px(1), limitX, limitY, 255);
    drawStarAt(StarCanvas{odd.target, nullptr}, px(1), px(4), limitX, limitY, 255);
    EXPECT_FALSE(odd.changedOutside(-1, -1, -1, -1));
}

TEST(DrawStarTargets, EmptyForeignOrTooSmallFramesAreNotWritten) {
    const SplatTable table = buildSplatTable(3);
    TestFrame foreign(8, 8, 20 /* a 24-bit format */, 0x5A);
    drawStarAt(StarCanvas{foreign.target, &table}, px(2), px(2), px(8), px(8), 255);
    drawStarAt(StarCanvas{foreign.target, nullptr}, px(2), px(2), px(8), px(8), 255);
    EXPECT_FALSE(foreign.changedOutside(-1, -1, -1, -1));
    drawStarAt(StarCanvas{FrameTarget{}, &table}, px(2), px(2), px(8), px(8), 255);  // a failed lock

    TestFrame small(4, 4, kFormatX8R8G8B8);  // a canvas smaller than its view
    drawStarAt(StarCanvas{small.target, &table}, px(2), px(2), px(100), px(100), 255);
    drawStarAt(StarCanvas{small.target, nullptr}, px(4), px(1), px(100), px(100), 255);
    EXPECT_FALSE(small.changedOutside(-1, -1, -1, -1));
}
