#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "render/splat_table.h"

namespace {

// The plain definition: count every 1/64-pixel sample of the splat that
// lies strictly inside the disc, per pixel, and divide by 16.
std::vector<int32_t> directCount(int n) {
    const int s = 64 * n, r = 32 * (n - 1);
    std::vector<int32_t> table(static_cast<size_t>(n * n * 1024));
    for (int sy = 0; sy < 32; ++sy)
        for (int sx = 0; sx < 32; ++sx) {
            const int cx = s / 2 + 2 * sx, cy = s / 2 + 2 * sy;
            std::vector<int> counts(static_cast<size_t>(n * n), 0);
            for (int j = 0; j < s; ++j)
                for (int i = 0; i < s; ++i)
                    if ((i - cx) * (i - cx) + (j - cy) * (j - cy) < r * r) ++counts[static_cast<size_t>((j / 64) * n + i / 64)];
            for (int p = 0; p < n * n; ++p) table[static_cast<size_t>((sy * 32 + sx) * n * n + p)] = counts[static_cast<size_t>(p)] / 16;
        }
    return table;
}

std::vector<int32_t> pixels(const SplatTable& t, int sx, int sy) {
    std::vector<int32_t> out;
    for (int row = 0; row < t.splatWidth; ++row)
        for (int col = 0; col < t.splatWidth; ++col) out.push_back(t.at(col, row, sx, sy));
    return out;
}

}  // namespace

TEST(SplatTable, ModesMapToSplatWidths) {
    const int expected[] = {0, 2, 3, 4, 6, 8};
    for (int mode = 0; mode <= 5; ++mode) EXPECT_EQ(splatWidthForMode(mode), expected[mode]);
    EXPECT_EQ(splatWidthForMode(-1), 0);
    EXPECT_EQ(splatWidthForMode(6), 0);
}

TEST(SplatTable, CheckValuesForTwoAndThree) {
    const SplatTable two = buildSplatTable(2);
    EXPECT_EQ(two.splatWidth, 2);
    EXPECT_EQ(two.weights.size(), 4096u);
    EXPECT_EQ(pixels(two, 0, 0), (std::vector<int32_t>{48, 50, 50, 52}));
    EXPECT_EQ(pixels(two, 16, 16), (std::vector<int32_t>{0, 0, 0, 200}));
    EXPECT_EQ(pixels(two, 31, 31), (std::vector<int32_t>{0, 0, 0, 56}));
    EXPECT_EQ(pixels(two, 0, 31), (std::vector<int32_t>{0, 0, 52, 54}));

    const SplatTable three = buildSplatTable(3);
    EXPECT_EQ(three.weights.size(), 9216u);
    EXPECT_EQ(pixels(three, 0, 0), (std::vector<int32_t>{18, 114, 20, 114, 256, 118, 20, 118, 21}));
}

TEST(SplatTable, EqualsTheDirectCount) {
    for (int n : {2, 3, 4}) EXPECT_EQ(buildSplatTable(n).weights, directCount(n)) << "N = " << n;
}

TEST(SplatTable, NoEntryAboveFullCoverage) {
    for (int n : {2, 3, 4, 6, 8}) {
        const SplatTable t = buildSplatTable(n);
        ASSERT_EQ(t.weights.size(), static_cast<size_t>(n * n * 1024));
        const int32_t largest = *std::max_element(t.weights.begin(), t.weights.end());
        EXPECT_GE(*std::min_element(t.weights.begin(), t.weights.end()), 0);
        if (n == 2) EXPECT_EQ(largest, 200) << "a one-pixel disc never covers a whole pixel";
        else EXPECT_EQ(largest, 256) << "N = " << n;
    }
}
