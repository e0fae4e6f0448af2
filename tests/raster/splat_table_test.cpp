#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "raster/splat_table.h"

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

}  // namespace

TEST(SplatTable, ModesMapToSplatWidths) {
    const int expected[] = {0, 2, 3, 4, 6, 8};
    for (int mode = 0; mode <= 5; ++mode) EXPECT_EQ(splatWidthForMode(mode), expected[mode]);
    EXPECT_EQ(splatWidthForMode(-1), 0);
    EXPECT_EQ(splatWidthForMode(6), 0);
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
