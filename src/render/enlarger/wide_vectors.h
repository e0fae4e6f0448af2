#pragma once
// Widening and blending sixteen lanes at a time, for processors with AVX2;
// chosen at run time, so the program still runs on any x86 processor with
// SSE2. Each function does as many whole vectors of the row as it can, the
// same way as the eight-lane loops it stands in for, and returns where it
// stopped; those loops finish the row.
#include "raster/avx2.h"
#include "render/enlarger/lanes.h"

namespace enlarger {

// True when the processor and the system can run the functions below.
bool wideVectorsAvailable();

#if LUMARA_WIDE_VECTORS
namespace wide {

LUMARA_AVX2 inline __m256i load(const uint16_t* from) {
    return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(from));
}
LUMARA_AVX2 inline void store(void* to, __m256i v) { _mm256_storeu_si256(static_cast<__m256i*>(to), v); }
LUMARA_AVX2 inline __m256i lanes(uint32_t v) { return _mm256_set1_epi16(static_cast<short>(v)); }

// As LaneRun: running sums of rows with evenly spaced weights.
template <int Bits, int Scale = 0>
struct Run {
    __m256i sum;
    __m256i increment;
};
template <int Bits, int Scale = 0>
LUMARA_AVX2 inline Run<Bits, Scale> run(const uint16_t* a, const uint16_t* b, __m256i first, __m256i step) {
    const __m256i va = load(a), vb = load(b);
    const __m256i base = _mm256_add_epi16(_mm256_slli_epi16(va, Bits), lanes(kRoundingHalf<Bits>));
    const __m256i d = _mm256_sub_epi16(vb, va);
    return {_mm256_slli_epi16(_mm256_add_epi16(base, _mm256_mullo_epi16(d, first)), Scale),
            _mm256_slli_epi16(_mm256_mullo_epi16(d, step), Scale)};
}
template <int Bits, int Scale>
LUMARA_AVX2 inline __m256i next(Run<Bits, Scale>& r) {
    const __m256i v = r.sum;
    r.sum = _mm256_add_epi16(r.sum, r.increment);
    return v;
}

// As widenFourfold. Unpacking works within each 128-bit half, so the
// interleaved phases come out in halves from two places and are put back in
// order (one lane a pixel: pairs 0..1 | 8..9, 2..3 | 10..11, 4..5 | 12..13,
// 6..7 | 14..15; four lanes a pixel: phases 0..1 and 2..3 of pairs 0 | 2,
// then of pairs 1 | 3).
template <size_t L, int Bits>
LUMARA_AVX2 size_t widenFourfoldWide(const uint16_t* in, size_t lanesIn, uint16_t* out, uint16_t mask) {
    const __m256i keep = lanes(mask), first = lanes(1u << (Bits - 3)), step = lanes(2u << (Bits - 3));
    size_t k = 0;
    for (; k + L + 16 <= lanesIn; k += 16) {
        Run<Bits> phases = run<Bits>(in + k, in + k + L, first, step);
        __m256i p[4];
        for (size_t j = 0; j < 4; ++j) p[j] = _mm256_and_si256(_mm256_srli_epi16(next(phases), Bits), keep);
        __m256i q[4];
        if constexpr (L == 1) {
            const __m256i low01 = _mm256_unpacklo_epi16(p[0], p[1]), high01 = _mm256_unpackhi_epi16(p[0], p[1]);
            const __m256i low23 = _mm256_unpacklo_epi16(p[2], p[3]), high23 = _mm256_unpackhi_epi16(p[2], p[3]);
            q[0] = _mm256_unpacklo_epi32(low01, low23);
            q[1] = _mm256_unpackhi_epi32(low01, low23);
            q[2] = _mm256_unpacklo_epi32(high01, high23);
            q[3] = _mm256_unpackhi_epi32(high01, high23);
        } else {
            static_assert(L == 4, "one pixel is one or four lanes");
            q[0] = _mm256_unpacklo_epi64(p[0], p[1]);
            q[1] = _mm256_unpacklo_epi64(p[2], p[3]);
            q[2] = _mm256_unpackhi_epi64(p[0], p[1]);
            q[3] = _mm256_unpackhi_epi64(p[2], p[3]);
        }
        uint16_t* o = out + 4 * k + 2 * L;
        store(o, _mm256_permute2x128_si256(q[0], q[1], 0x20));
        store(o + 16, _mm256_permute2x128_si256(q[2], q[3], 0x20));
        store(o + 32, _mm256_permute2x128_si256(q[0], q[1], 0x31));
        store(o + 48, _mm256_permute2x128_si256(q[2], q[3], 0x31));
    }
    return k;
}

// 32-bit rows: lanes (blue, green, red, 0 per pixel) to bytes. The pack
// works within each 128-bit half, so its 64-bit quarters come out in the
// order 0, 2, 1, 3 and are put back in place.
template <size_t Count>
LUMARA_AVX2 size_t blendBytes(const uint16_t* top, const uint16_t* bottom, size_t lanes, const RowBlock& block) {
    const __m256i first = wide::lanes(block.firstWeight), step = wide::lanes(block.weightStep);
    size_t i = 0;
    for (; i + 32 <= lanes; i += 32) {
        Run<8> low = run<8>(top + i, bottom + i, first, step);
        Run<8> high = run<8>(top + i + 16, bottom + i + 16, first, step);
        for (size_t r = 0; r < Count; ++r) {
            const __m256i packed =
                _mm256_packus_epi16(_mm256_srli_epi16(next(low), 8), _mm256_srli_epi16(next(high), 8));
            store(block.rows[r] + i, _mm256_permute4x64_epi64(packed, 0xD8));
        }
    }
    return i;
}

// 16-bit rows enlarged four-fold: as Layout16Fourfold::blendRows.
template <int RedShift, int GreenShift, size_t Count>
LUMARA_AVX2 size_t blendFourfoldFields(const uint16_t* top, const uint16_t* bottom, size_t width, size_t planeStride,
                                       const RowBlock& block) {
    const __m256i first = lanes(block.firstWeight >> 5), step = lanes(block.weightStep >> 5);
    const __m256i blueField = lanes(31), redField = lanes(31u << RedShift), greenField = lanes(31u << GreenShift);
    size_t x = 0;
    for (; x + 16 <= width; x += 16) {
        Run<3> blueRed = run<3>(top + x, bottom + x, first, step);
        Run<3, GreenShift - 3> green = run<3, GreenShift - 3>(top + planeStride + x, bottom + planeStride + x, first, step);
        for (size_t r = 0; r < Count; ++r) {
            const __m256i sum = next(blueRed);
            const __m256i red =
                _mm256_and_si256(RedShift == 11 ? sum : _mm256_srli_epi16(sum, 11 - RedShift), redField);
            const __m256i fields = _mm256_or_si256(_mm256_and_si256(_mm256_srli_epi16(sum, 3), blueField),
                                                   _mm256_or_si256(red, _mm256_and_si256(next(green), greenField)));
            store(block.rows[r] + 2 * x, fields);
        }
    }
    return x;
}

}  // namespace wide
#endif

}  // namespace enlarger
