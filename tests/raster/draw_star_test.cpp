#include <gtest/gtest.h>

#include <cstring>
#include <utility>
#include <vector>

#include "raster/draw_star.h"
#include "raster/splat_table.h"
#include "test_frame.h"

namespace {

constexpr int64_t px(int pixels) { return int64_t{pixels} * 256; }

}  // namespace

// Without a splat a star sets its pixel to the grey of the larger of its
// brightness and the pixel's green (blue in 16 bits) level, sub-pixel
// ignored; a splat adds its weighted brightness to every channel,
// saturating. Unused bits (byte 3, R5G6B5's bit 5, X1R5G5B5's bit 15) are
// written as 0. The weights' values are held by the golden frames.
TEST(DrawStar, GreyMaximumWithoutASplatAndSaturatingAdditionWithOne) {
    struct Case {
        int32_t format;
        int splatWidth;  // 0: no splat
        uint32_t before;
        int32_t brightness;
        uint32_t after;
    };
    for (const Case& c : {Case{kFormatA8R8G8B8, 0, 0xFFC86410u, 50, 0x00646464u},
                          Case{kFormatA8R8G8B8, 0, 0x00101010u, 180, 0x00B4B4B4u},
                          Case{kFormatR5G6B5, 0, 0x001Cu, 100, 28u << 11 | 28u << 6 | 28u},
                          Case{kFormatR5G6B5, 0, 0, 255, 31u << 11 | 31u << 6 | 31u},
                          Case{kFormatX1R5G5B5, 0, 0x8000u, 80, 10u << 10 | 10u << 5 | 10u},
                          // The splat's centre pixel is wholly covered: weight 31 for brightness 255.
                          Case{kFormatR5G6B5, 3, 30u << 11 | 1u << 6 | 2u | 1u << 5, 255, 31u << 11 | 31u << 6 | 31u},
                          Case{kFormatX1R5G5B5, 3, 0x8000u | 3u << 10 | 4u << 5 | 5u, 80,
                               13u << 10 | 14u << 5 | 15u}}) {
        SCOPED_TRACE(::testing::Message() << c.format << " splat " << c.splatWidth << " over " << c.before);
        const SplatTable table = buildSplatTable(c.splatWidth ? c.splatWidth : 2);
        TestFrame frame(6, 6, c.format);
        frame.setPixel(2, 2, c.before);
        const int64_t at = c.splatWidth ? px(1) : px(2) + 255;
        drawStarAt(StarCanvas{frame.target, c.splatWidth ? &table : nullptr}, at, at, px(6), px(6), c.brightness);
        EXPECT_EQ(frame.pixel(2, 2), c.after);
        const int reach = c.splatWidth ? 1 : 0;
        EXPECT_FALSE(frame.changedOutside(2 - reach, 2 - reach, 2 + reach, 2 + reach));
    }
    // Widths 3 and 4 take every path a 32-bit splat row has: four pixels at
    // once, two, and one.
    for (int n : {3, 4}) {
        const SplatTable table = buildSplatTable(n);
        TestFrame frame(8, 8, kFormatX8R8G8B8);
        for (int i = 0; i < 3; ++i) drawStarAt(StarCanvas{frame.target, &table}, px(1), px(1), px(8), px(8), 200);
        EXPECT_EQ(frame.pixel(2, 2), 0x00FFFFFFu) << "N = " << n;
    }
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
        // Erasing the same stars leaves all black; the skipped ones erase nothing.
        for (const auto& [x, y] : {std::pair{px(w - n - 1) + 255, px(h - n - 1) + 255}, {px(w - n), px(0)},
                                   {px(0), px(h - n)}, {int64_t{0}, int64_t{0}}})
            eraseStarAt(canvas, x, y, px(w), px(h));
        EXPECT_FALSE(frame.changedOutside(-1, -1, -1, -1)) << "N = " << n;
    }
}

// Erasing blackens the star's pixel.
TEST(DrawStarClipping, DisabledModeReachesEveryPixelOfAnEvenFrame) {
    TestFrame even(6, 4, kFormatR5G6B5, 0x77);
    drawStarAt(StarCanvas{even.target, nullptr}, px(5), px(3), px(6), px(4), 255);
    EXPECT_EQ(even.pixel(5, 3), 0xFFDFu);
    drawStarAt(StarCanvas{even.target, nullptr}, px(6), px(0), px(6), px(4), 255);
    EXPECT_FALSE(even.changedOutside(5, 3, 5, 3));
    eraseStarAt(StarCanvas{even.target, nullptr}, px(5), px(3), px(6), px(4));
    EXPECT_EQ(even.pixel(5, 3), 0u);
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

// The plain, SSE2 and AVX2 ways of adding a splat's rows give the same
// bytes, over any picture (byte 3 set too) and at every brightness; a way
// this processor lacks falls back to a narrower one.
TEST(DrawStarVectors, EveryWayOfAddingRowsGivesThePlainBytes) {
    for (int n : {2, 3, 4, 6, 8}) {
        std::vector<std::vector<uint8_t>> results;
        for (SplatRows rows : {SplatRows::Plain, SplatRows::Sse2, SplatRows::Avx2}) {
            const SplatTable table = buildSplatTable(n, rows);
            TestFrame frame(40, 30, kFormatX8R8G8B8);
            uint32_t state = 12345;
            auto next = [&state] { return (state = state * 214013u + 2531011u) >> 16 & 0x7FFF; };
            for (uint8_t& b : frame.bytes) b = static_cast<uint8_t>(next());
            for (int i = 0; i < 400; ++i) {
                const int64_t x = next() % (40 * 256), y = next() % (30 * 256);
                const int32_t f = i % 50 == 0 ? 255 : i % 50 == 1 ? 0 : static_cast<int32_t>(next() % 256);
                drawStarAt(StarCanvas{frame.target, &table}, x, y, px(40), px(30), f);
            }
            results.push_back(frame.bytes);
        }
        EXPECT_EQ(results[1], results[0]) << "SSE2, N = " << n;
        EXPECT_EQ(results[2], results[0]) << "AVX2, N = " << n;
    }
}

// A batch draws what its stars draw one by one, in every format, splat and
// way of adding rows: stars off either edge, past the limits and past a
// canvas smaller than its limits are skipped as drawStarAt skips them.
TEST(DrawStarVectors, ABatchDrawsWhatEachOfItsStarsDrawsAlone) {
    struct Case {
        int32_t format;
        int splatWidth;  // 0: no splat
        SplatRows rows;
        int64_t limitX, limitY;  // the canvas is 40 x 30
    };
    for (const Case& c : {Case{kFormatX8R8G8B8, 0, SplatRows::Plain, px(40), px(30)},
                          Case{kFormatR5G6B5, 0, SplatRows::Plain, px(36), px(64)},
                          Case{kFormatX1R5G5B5, 3, SplatRows::Plain, px(40), px(30)},
                          Case{kFormatR5G6B5, 8, SplatRows::Plain, px(100), px(20)},
                          Case{kFormatA8R8G8B8, 2, SplatRows::Plain, px(40), px(30)},
                          Case{kFormatX8R8G8B8, 3, SplatRows::Sse2, px(38), px(30)},
                          Case{kFormatX8R8G8B8, 8, SplatRows::Sse2, px(40), px(30)},
                          Case{kFormatX8R8G8B8, 8, SplatRows::Avx2, px(100), px(100)},
                          Case{kFormatX8R8G8B8, 8, SplatRows::Avx2, px(12), px(30)}}) {
        SCOPED_TRACE(::testing::Message() << c.format << " splat " << c.splatWidth << " limits " << c.limitX);
        const SplatTable table = buildSplatTable(c.splatWidth ? c.splatWidth : 2, c.rows);
        TestFrame alone(40, 30, c.format, 0x11), batched(40, 30, c.format, 0x11);
        const StarCanvas canvas{alone.target, c.splatWidth ? &table : nullptr};
        StarCanvas batchCanvas = canvas;
        batchCanvas.frame = batched.target;
        uint32_t state = 99;
        auto next = [&state] { return static_cast<int32_t>((state = state * 214013u + 2531011u) >> 16 & 0x7FFF); };
        const int64_t originX = px(20), originY = px(15);
        std::vector<int32_t> xs, ys, fs;
        for (int i = 0; i < 600; ++i) {
            xs.push_back(next() % px(56) - px(28));
            ys.push_back(next() % px(46) - px(23));
            fs.push_back(next() % 256);
            drawStarAt(canvas, originX + xs.back(), originY + ys.back(), c.limitX, c.limitY, fs.back());
        }
        drawStarsAt(batchCanvas, StarBatch{xs.data(), ys.data(), fs.data(), xs.size()}, originX, originY, c.limitX,
                    c.limitY);
        EXPECT_EQ(batched.bytes, alone.bytes);
        EXPECT_TRUE(alone.changedOutside(-1, -1, -1, -1));
    }
}
