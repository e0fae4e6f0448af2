#include <gtest/gtest.h>

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

TEST(SplatTable, ModesBeyondTheOfferedOnesDrawWithoutAntiAliasing) {
    for (int mode : {-1, 6, 1000}) EXPECT_EQ(splatWidthForMode(mode), 0) << mode;
}

TEST(SplatTable, EqualsTheDirectCount) {
    for (int n : {2, 3, 4}) EXPECT_EQ(buildSplatTable(n).weights, directCount(n)) << "N = " << n;
}
