#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

// Coverage of an N x N pixel splat by a disc of diameter N - 1 pixels, for
// each of the 32 x 32 sub-pixel positions of the disc. Weights are 0..256.
struct SplatTable {
    int32_t splatWidth = 0;
    std::vector<int32_t> weights;  // (row * N + col) * 1024 + sy * 32 + sx
    // The same weights with each sub-pixel position's N x N splat together,
    // (sy * 32 + sx) * N * N + row * N + col: a star reads one short run
    // instead of N * N entries 4 KiB apart.
    std::vector<int32_t> bySubPixel;

    int32_t at(int col, int row, int sx, int sy) const {
        return weights[static_cast<size_t>((row * splatWidth + col) * 1024 + sy * 32 + sx)];
    }
};

// Splat width of an anti-aliasing mode: 2, 3, 4, 6, 8 for modes 1..5,
// 0 for "Disabled" and any value outside 0..5.
int splatWidthForMode(int32_t antiAlias);

// Builds the table for N in {2, 3, 4, 6, 8} (other N are accepted too).
// Each weight is the count of the 64 x 64 samples of its pixel that lie
// strictly inside the disc, divided by 16.
SplatTable buildSplatTable(int n);
