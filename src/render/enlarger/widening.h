#pragma once
// Widening one row of channel lanes across: four-fold, or by taps at any
// other ratio.
#include "render/enlarger/lanes.h"
#include "render/enlarger/resample_taps.h"
#include "render/enlarger/wide_vectors.h"

namespace enlarger {

// Four-fold widening of one plane whose pixels are L lanes each. The centre
// of destination pixel i lies at (i - 1.5) / 4 source pixels, so pixels
// 4m+2 .. 4m+5 lie between source pixels m and m+1 at weights 1/8, 3/8, 5/8
// and 7/8, and the two outermost pixels on each side repeat the edge. With
// 3-bit weights a lane may hold two channels; `mask` keeps their results.
template <size_t L, int Bits>
void widenFourfold(const uint16_t* in, size_t sourceWidth, uint16_t* out, uint16_t mask, bool wideVectors) {
    auto weight = [](size_t j) { return static_cast<uint32_t>(2 * j + 1) << (Bits - 3); };
    const size_t lanes = sourceWidth * L;
    for (size_t c = 0; c < L; ++c) {
        out[c] = out[L + c] = in[c];
        out[4 * lanes - 2 * L + c] = out[4 * lanes - L + c] = in[lanes - L + c];
    }
    size_t k = 0;  // first lane of source pixel m
#if LUMARA_WIDE_VECTORS
    if (wideVectors) k = wide::widenFourfoldWide<L, Bits>(in, lanes, out, mask);
#else
    (void)wideVectors;
#endif
#if defined(__SSE2__)
    const __m128i keep = lanesOf(mask), firstWeight = lanesOf(weight(0)), weightStep = lanesOf(weight(1) - weight(0));
    // Eight lanes of pairs (m, m+1) a step: each phase's results, interleaved.
    for (; k + L + 8 <= lanes; k += 8) {
        LaneRun<Bits> phases(LaneMix<Bits>(in + k, in + k + L), firstWeight, weightStep);
        __m128i p[4];
        for (size_t j = 0; j < 4; ++j) {
            const __m128i v = _mm_srli_epi16(phases.next(), Bits);
            p[j] = Bits == 8 ? v : _mm_and_si128(v, keep);
        }
        uint16_t* o = out + 4 * k + 2 * L;
        if constexpr (L == 1) {
            const __m128i low01 = _mm_unpacklo_epi16(p[0], p[1]), high01 = _mm_unpackhi_epi16(p[0], p[1]);
            const __m128i low23 = _mm_unpacklo_epi16(p[2], p[3]), high23 = _mm_unpackhi_epi16(p[2], p[3]);
            store(o, _mm_unpacklo_epi32(low01, low23));
            store(o + 8, _mm_unpackhi_epi32(low01, low23));
            store(o + 16, _mm_unpacklo_epi32(high01, high23));
            store(o + 24, _mm_unpackhi_epi32(high01, high23));
        } else {
            static_assert(L == 4, "one pixel is one or four lanes");
            store(o, _mm_unpacklo_epi64(p[0], p[1]));
            store(o + 8, _mm_unpacklo_epi64(p[2], p[3]));
            store(o + 16, _mm_unpackhi_epi64(p[0], p[1]));
            store(o + 24, _mm_unpackhi_epi64(p[2], p[3]));
        }
    }
#endif
    for (; k + L < lanes; k += L)
        for (size_t j = 0; j < 4; ++j)
            for (size_t c = 0; c < L; ++c)
                out[4 * k + (2 + j) * L + c] = static_cast<uint16_t>(mix<Bits>(in[k + c], in[k + L + c], weight(j)) & mask);
}

// Widening at any other ratio, column by column from the taps. For four
// lanes a pixel, `laneWeights` holds each column's weight once per lane.
template <size_t L>
void widenByTaps(const uint16_t* in, const ResampleTaps& columns, const uint16_t* laneWeights, uint16_t* out) {
    const size_t width = columns.first.size();
    size_t x = 0;
#if defined(__SSE2__)
    if constexpr (L == 4) {
        auto pixels = [&](const std::vector<uint32_t>& taps) {
            auto at = [&](size_t i) { return _mm_loadl_epi64(reinterpret_cast<const __m128i*>(in + 4 * taps[i])); };
            return _mm_unpacklo_epi64(at(x), at(x + 1));
        };
        for (; x + 2 <= width; x += 2)
            store(out + 4 * x, LaneMix<>(pixels(columns.first), pixels(columns.second)).at(load(laneWeights + 4 * x)));
    }
#else
    (void)laneWeights;
#endif
    for (; x < width; ++x)
        for (size_t c = 0; c < L; ++c)
            out[L * x + c] =
                static_cast<uint16_t>(mix(in[L * columns.first[x] + c], in[L * columns.second[x] + c], columns.weight[x]));
}

}  // namespace enlarger
