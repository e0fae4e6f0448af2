#include "raster/damage_bands.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using Rect = FrameDamage::Rect;

// The bands lie inside the frame, are no more than asked for and cover
// every changed pixel; changes over most of the frame are the whole frame
// as one rectangle, and no change is none.
TEST(DamageBands, FewBandsCoverEveryChangedPixelAndMostOfTheFrameIsTheWhole) {
    constexpr int32_t kWidth = 300, kHeight = 200;
    FrameDamage damage;
    damage.resize(kWidth, kHeight);
    damage.clear();
    const std::vector<Rect> added = {{0, 0, 1, 1},     {290, 5, 20, 3},  {40, 70, 3, 3},  {45, 90, 2, 2},
                                     {150, 100, 9, 9}, {10, 150, 5, 40}, {200, 190, 4, 30}};
    for (const Rect& r : added) damage.add(r);
    DamageBands bands;
    bands.resize(kWidth, kHeight);
    for (const size_t most : {1, 3, 8}) {
        SCOPED_TRACE(most);
        const auto cover = bands.cover(damage.rects(), most);
        ASSERT_FALSE(cover.empty());
        EXPECT_LE(cover.size(), most);
        std::vector<char> covered(static_cast<size_t>(kWidth) * kHeight, 0);
        for (const Rect& r : cover) {
            ASSERT_TRUE(r.left >= 0 && r.top >= 0 && r.left + r.width <= kWidth && r.top + r.height <= kHeight);
            for (int32_t y = r.top; y < r.top + r.height; ++y)
                for (int32_t x = r.left; x < r.left + r.width; ++x) covered[static_cast<size_t>(y) * kWidth + x] = 1;
        }
        int uncovered = 0;
        for (const Rect& r : added)
            for (int32_t y = r.top; y < std::min(r.top + r.height, kHeight); ++y)
                for (int32_t x = r.left; x < std::min(r.left + r.width, kWidth); ++x)
                    uncovered += !covered[static_cast<size_t>(y) * kWidth + x];
        EXPECT_EQ(uncovered, 0);
        EXPECT_TRUE(most == 1 || cover.size() > 1) << "small changes far apart stay apart";
    }
    damage.clear();
    EXPECT_TRUE(bands.cover(damage.rects(), 8).empty());
    damage.add(0, 0, kWidth, 20);
    damage.add(0, kHeight - 20, kWidth, 20);
    const auto apart = bands.cover(damage.rects(), 1);
    ASSERT_EQ(apart.size(), 1u);
    EXPECT_EQ(apart[0].width * apart[0].height, kWidth * kHeight) << "one band over both is the whole frame";
}

}  // namespace
