#pragma once
// The blend the enlarger is made of, one value at a time and eight 16-bit
// lanes at a time.
#include <cstddef>
#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace enlarger {

// b blended over a with weight w out of 2^Bits, rounded:
// (a * (2^Bits - w) + b * w + 2^(Bits - 1)) >> Bits. Weights of 8 bits are
// what the sample centres give; when every weight is a multiple of 32 the
// same results come from 3 bits, and then a 16-bit lane can hold two
// five-bit channels, one a byte, without their sums touching: each byte
// gets its own rounding half, and the caller masks the results.
template <int Bits>
constexpr uint32_t kRoundingHalf = Bits == 8 ? 0x80u : 0x0404u;

template <int Bits = 8>
constexpr uint32_t mix(uint32_t a, uint32_t b, uint32_t w) {
    static_assert(Bits == 8 || Bits == 3, "weights of 8 or 3 bits");
    return (a * ((1u << Bits) - w) + b * w + kRoundingHalf<Bits>) >> Bits;
}

#if defined(__SSE2__)
inline __m128i load(const uint16_t* from) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(from)); }
inline void store(void* to, __m128i v) { _mm_storeu_si128(static_cast<__m128i*>(to), v); }
inline __m128i lanesOf(uint32_t v) { return _mm_set1_epi16(static_cast<short>(v)); }

// mix() of eight lane pairs as base + step * w, with base = a << Bits plus
// the rounding half and step = b - a (two's complement). The true sum fits
// in 16 bits, so the wrap-around of step * w is exact. Made once per pair,
// used for every weight.
template <int Bits = 8>
struct LaneMix {
    __m128i base;
    __m128i step;
    LaneMix(__m128i a, __m128i b)
        : base(_mm_add_epi16(_mm_slli_epi16(a, Bits), lanesOf(kRoundingHalf<Bits>))), step(_mm_sub_epi16(b, a)) {}
    LaneMix(const uint16_t* a, const uint16_t* b) : LaneMix(load(a), load(b)) {}
    __m128i sum(__m128i w) const { return _mm_add_epi16(base, _mm_mullo_epi16(step, w)); }
    __m128i at(__m128i w) const { return _mm_srli_epi16(sum(w), Bits); }
};

// The unshifted sums of rows whose weights are evenly spaced: the first
// row's by one multiply, every next row's by one add. `Scale` shifts them
// up so that a result lands where its pixel field lies; the scaled sums
// still fit in 16 bits, so this is exact too.
template <int Bits = 8, int Scale = 0>
struct LaneRun {
    __m128i sum;
    __m128i increment;
    LaneRun(const LaneMix<Bits>& m, __m128i firstWeight, __m128i weightStep)
        : sum(_mm_slli_epi16(m.sum(firstWeight), Scale)),
          increment(_mm_slli_epi16(_mm_mullo_epi16(m.step, weightStep), Scale)) {}
    __m128i next() {
        const __m128i v = sum;
        sum = _mm_add_epi16(sum, increment);
        return v;
    }
};
#endif

// Consecutive destination rows that blend the same two widened rows with
// evenly spaced weights (four-fold rows always are). Up to four at a time
// share one read of the two rows.
constexpr size_t kBlockRows = 4;
struct RowBlock {
    bool wideVectors = false;  // the processor can blend sixteen lanes at a time
    uint32_t firstWeight = 0;
    uint32_t weightStep = 0;
    uint8_t* rows[kBlockRows] = {};
    size_t count = 0;
    uint32_t weight(size_t r) const { return firstWeight + static_cast<uint32_t>(r) * weightStep; }
};

}  // namespace enlarger
