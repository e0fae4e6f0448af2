#include "raster/frame_damage.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// The rectangles cover every pixel added and lie inside the frame; a
// cleared record changes nothing; most of the frame changed is the whole.
TEST(FrameDamage, RectanglesCoverWhatChangedInsideTheFrameAndManyChangesAreTheWhole) {
    constexpr int32_t kWidth = 203, kHeight = 117;
    FrameDamage damage;
    damage.resize(kWidth, kHeight);
    EXPECT_TRUE(damage.whole()) << "a new frame size";
    damage.clear();
    EXPECT_FALSE(damage.whole());
    EXPECT_TRUE(damage.rects().empty());
    const std::vector<FrameDamage::Rect> added = {{0, 0, 1, 1},     {-3, 40, 5, 5},  {200, 100, 9, 30}, {47, 47, 3, 3},
                                                  {47, 64, 3, 3},   {90, 10, 40, 2}, {5, 200, 4, 4},    {150, 60, 0, 9}};
    for (const auto& r : added) damage.add(r);
    std::vector<int> covered(static_cast<size_t>(kWidth) * kHeight, 0);
    for (const FrameDamage::Rect& r : damage.rects()) {
        ASSERT_TRUE(r.left >= 0 && r.top >= 0 && r.width > 0 && r.height > 0);
        ASSERT_TRUE(r.left + r.width <= kWidth && r.top + r.height <= kHeight);
        for (int32_t y = r.top; y < r.top + r.height; ++y)
            for (int32_t x = r.left; x < r.left + r.width; ++x) ++covered[static_cast<size_t>(y) * kWidth + x];
    }
    for (const auto& r : added)
        for (int32_t y = std::max(r.top, 0); y < std::min(r.top + r.height, kHeight); ++y)
            for (int32_t x = std::max(r.left, 0); x < std::min(r.left + r.width, kWidth); ++x)
                EXPECT_EQ(covered[static_cast<size_t>(y) * kWidth + x], 1) << x << "," << y;
    EXPECT_LE(damage.rects().size(), damage.capacity());
    EXPECT_EQ(covered[static_cast<size_t>(kHeight - 1) * kWidth + 100], 0) << "far from any change";

    damage.clear();
    EXPECT_TRUE(damage.rects().empty());
    damage.add(0, 0, kWidth, kHeight / 2);
    EXPECT_FALSE(damage.whole());
    damage.add(0, kHeight / 2, kWidth, 20);
    EXPECT_TRUE(damage.whole());
    damage.clear();
    damage.markWhole();
    EXPECT_TRUE(damage.whole());
}

}  // namespace
