#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

// Coverage of an N x N pixel splat by a disc of diameter N - 1 pixels, for
// each of the 32 x 32 sub-pixel positions of the disc. Weights are 0..256.
//
// The weights of one sub-pixel position lie together, row by row, so that
// drawing a star reads one short run of memory instead of N * N entries a
// page apart.
// How a splat's rows are added into a 32-bit frame: pixel by pixel, four
// pixels at a time (SSE2), or a whole row of eight at once (AVX2, for the
// eight-wide splat). All three give the same bytes.
enum class SplatRows : uint8_t { Plain, Sse2, Avx2 };

struct SplatTable {
    struct Span {
        uint8_t first = 0;  // first column with a non-zero weight
        uint8_t end = 0;    // one past the last; first == end when the row is empty
    };

    int32_t splatWidth = 0;
    std::vector<int32_t> weights;  // ((sy * 32 + sx) * N + row) * N + col
    // Per sub-pixel position and row, the columns the disc reaches: a splat
    // row is drawn only there (about 40% of an 8 x 8 splat is corners).
    std::vector<Span> spans;  // (sy * 32 + sx) * N + row
    SplatRows rows = SplatRows::Plain;

    // The N * N weights of one sub-pixel position, rows top to bottom.
    const int32_t* splat(int sx, int sy) const {
        return weights.data() + static_cast<size_t>((sy * 32 + sx) * splatWidth * splatWidth);
    }
    const Span* rowSpans(int sx, int sy) const {
        return spans.data() + static_cast<size_t>((sy * 32 + sx) * splatWidth);
    }
    int32_t at(int col, int row, int sx, int sy) const { return splat(sx, sy)[row * splatWidth + col]; }
};

// Splat width of an anti-aliasing mode: 2, 3, 4, 6, 8 for modes 1..5,
// 0 for "Disabled" and any value outside 0..5.
int splatWidthForMode(int32_t antiAlias);

// Builds the table for N in {2, 3, 4, 6, 8} (other N are accepted too).
// Each weight is the count of the 64 x 64 samples of its pixel that lie
// strictly inside the disc, divided by 16. Its rows are drawn with the
// widest way, up to `widest`, that this build and processor have for N.
SplatTable buildSplatTable(int n, SplatRows widest = SplatRows::Avx2);
