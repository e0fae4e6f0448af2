#pragma once
// How each pixel format's rows become channel lanes for widening, and how
// blended lanes become pixels again. Each layout says how many lanes a pixel
// has, how many planes a row has, how many bits its weights have and what
// each plane's widened lanes keep.
#include "render/enlarger/lanes.h"
#include "render/enlarger/wide_vectors.h"

namespace enlarger {

// 32-bit rows: one run of lanes, blue, green, red, 0 per pixel, blending
// bytes; byte 3 of every pixel is written as 0.
struct Layout32 {
    static constexpr size_t kLanesPerPixel = 4;
    static constexpr size_t kPlanes = 1;
    static constexpr int kWeightBits = 8;
    static constexpr uint16_t kPlaneMasks[kPlanes] = {0xFFFF};

    static void toLanes(const uint8_t* row, size_t width, uint16_t* lanes, size_t /*planeStride*/) {
        size_t x = 0;
#if defined(__SSE2__)
        const __m128i colour = _mm_set1_epi32(0x00FFFFFF);
        const __m128i zero = _mm_setzero_si128();
        for (; x + 4 <= width; x += 4) {
            const __m128i v = _mm_and_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(row + 4 * x)), colour);
            store(lanes + 4 * x, _mm_unpacklo_epi8(v, zero));
            store(lanes + 4 * x + 8, _mm_unpackhi_epi8(v, zero));
        }
#endif
        for (; x < width; ++x)
            for (size_t c = 0; c < 4; ++c) lanes[4 * x + c] = c < 3 ? row[4 * x + c] : 0;
    }

    template <size_t Count>
    static void blendRows(const uint16_t* top, const uint16_t* bottom, size_t width, size_t /*planeStride*/,
                          const RowBlock& block) {
        const size_t lanes = 4 * width;
        size_t i = 0;
#if LUMARA_WIDE_VECTORS
        if (block.wideVectors) i = wide::blendBytes<Count>(top, bottom, lanes, block);
#endif
#if defined(__SSE2__)
        const __m128i first = lanesOf(block.firstWeight), step = lanesOf(block.weightStep);
        for (; i + 16 <= lanes; i += 16) {
            LaneRun<> low(LaneMix<>(top + i, bottom + i), first, step);
            LaneRun<> high(LaneMix<>(top + i + 8, bottom + i + 8), first, step);
            for (size_t r = 0; r < Count; ++r)
                store(block.rows[r] + i,
                      _mm_packus_epi16(_mm_srli_epi16(low.next(), 8), _mm_srli_epi16(high.next(), 8)));
        }
#endif
        for (; i < lanes; ++i)
            for (size_t r = 0; r < Count; ++r) block.rows[r][i] = static_cast<uint8_t>(mix(top[i], bottom[i], block.weight(r)));
    }
};

// Five-bit fields; R5G6B5's green is five bits at 6..10 with bit 5 clear,
// the convention of all drawing into such frames.
template <int RedShift, int GreenShift>
struct Fields16 {
    static uint32_t pixel(uint32_t blue, uint32_t green, uint32_t red) {
        return blue | green << GreenShift | red << RedShift;
    }
    static void write(uint8_t* row, size_t x, uint32_t v) {
        row[2 * x] = static_cast<uint8_t>(v);
        row[2 * x + 1] = static_cast<uint8_t>(v >> 8);
    }
    static uint32_t read(const uint8_t* row, size_t x) { return static_cast<uint32_t>(row[2 * x] | row[2 * x + 1] << 8); }
};

// 16-bit rows at any ratio: three planes (blue, green, red), so that eight
// pixels' fields blend at once and pack straight into pixels.
template <int RedShift, int GreenShift>
struct Layout16 : Fields16<RedShift, GreenShift> {
    using F = Fields16<RedShift, GreenShift>;
    static constexpr size_t kLanesPerPixel = 1;
    static constexpr size_t kPlanes = 3;
    static constexpr int kWeightBits = 8;
    static constexpr uint16_t kPlaneMasks[kPlanes] = {0xFFFF, 0xFFFF, 0xFFFF};

    static void toLanes(const uint8_t* row, size_t width, uint16_t* lanes, size_t planeStride) {
        uint16_t* blue = lanes;
        uint16_t* green = lanes + planeStride;
        uint16_t* red = lanes + 2 * planeStride;
        size_t x = 0;
#if defined(__SSE2__)
        const __m128i field = lanesOf(31);
        for (; x + 8 <= width; x += 8) {
            const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(row + 2 * x));
            store(blue + x, _mm_and_si128(v, field));
            store(green + x, _mm_and_si128(_mm_srli_epi16(v, GreenShift), field));
            store(red + x, _mm_and_si128(_mm_srli_epi16(v, RedShift), field));
        }
#endif
        for (; x < width; ++x) {
            const uint32_t v = F::read(row, x);
            blue[x] = static_cast<uint16_t>(v & 31);
            green[x] = static_cast<uint16_t>(v >> GreenShift & 31);
            red[x] = static_cast<uint16_t>(v >> RedShift & 31);
        }
    }

    template <size_t Count>
    static void blendRows(const uint16_t* top, const uint16_t* bottom, size_t width, size_t planeStride,
                          const RowBlock& block) {
        const size_t g = planeStride, r2 = 2 * planeStride;
        size_t x = 0;
#if defined(__SSE2__)
        // Sums hold a field's result in bits 8..12: blue shifts down, green
        // shifts down less and drops the fraction, red is summed shifted up
        // so that it lands on its field and only the fraction is dropped.
        const __m128i first = lanesOf(block.firstWeight), step = lanesOf(block.weightStep);
        const __m128i greenField = lanesOf(31u << GreenShift), redField = lanesOf(31u << RedShift);
        for (; x + 8 <= width; x += 8) {
            LaneRun<> blue(LaneMix<>(top + x, bottom + x), first, step);
            LaneRun<> green(LaneMix<>(top + g + x, bottom + g + x), first, step);
            LaneRun<8, RedShift - 8> red(LaneMix<>(top + r2 + x, bottom + r2 + x), first, step);
            for (size_t r = 0; r < Count; ++r) {
                const __m128i fields = _mm_or_si128(
                    _mm_srli_epi16(blue.next(), 8),
                    _mm_or_si128(_mm_and_si128(_mm_srli_epi16(green.next(), 8 - GreenShift), greenField),
                                 _mm_and_si128(red.next(), redField)));
                store(block.rows[r] + 2 * x, fields);
            }
        }
#endif
        for (; x < width; ++x)
            for (size_t r = 0; r < Count; ++r) {
                const uint32_t w = block.weight(r);
                F::write(block.rows[r], x,
                         F::pixel(mix(top[x], bottom[x], w), mix(top[g + x], bottom[g + x], w),
                                  mix(top[r2 + x], bottom[r2 + x], w)));
            }
    }
};

// 16-bit rows enlarged four-fold both ways: every weight is a multiple of
// 32, so the blends run with 3-bit weights, whose sums of five-bit fields
// fit in 8 bits. Blue and red then share a lane (red in the high byte) and
// green has its own: two planes, and pixels come out of the sums by masks.
template <int RedShift, int GreenShift>
struct Layout16Fourfold : Fields16<RedShift, GreenShift> {
    using F = Fields16<RedShift, GreenShift>;
    static constexpr size_t kLanesPerPixel = 1;
    static constexpr size_t kPlanes = 2;
    static constexpr int kWeightBits = 3;
    static constexpr uint16_t kPlaneMasks[kPlanes] = {0x1F1F, 0x001F};

    static void toLanes(const uint8_t* row, size_t width, uint16_t* lanes, size_t planeStride) {
        uint16_t* blueRed = lanes;
        uint16_t* green = lanes + planeStride;
        size_t x = 0;
#if defined(__SSE2__)
        const __m128i blueField = lanesOf(31), redField = lanesOf(31u << 8);
        for (; x + 8 <= width; x += 8) {
            const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(row + 2 * x));
            store(blueRed + x,
                  _mm_or_si128(_mm_and_si128(v, blueField), _mm_and_si128(_mm_srli_epi16(v, RedShift - 8), redField)));
            store(green + x, _mm_and_si128(_mm_srli_epi16(v, GreenShift), blueField));
        }
#endif
        for (; x < width; ++x) {
            const uint32_t v = F::read(row, x);
            blueRed[x] = static_cast<uint16_t>((v & 31) | (v >> RedShift & 31) << 8);
            green[x] = static_cast<uint16_t>(v >> GreenShift & 31);
        }
    }

    template <size_t Count>
    static void blendRows(const uint16_t* top, const uint16_t* bottom, size_t width, size_t planeStride,
                          const RowBlock& block) {
        const size_t g = planeStride;
        const uint32_t firstEighths = block.firstWeight >> 5, stepEighths = block.weightStep >> 5;
        size_t x = 0;
#if LUMARA_WIDE_VECTORS
        if (block.wideVectors)
            x = wide::blendFourfoldFields<RedShift, GreenShift, Count>(top, bottom, width, planeStride, block);
#endif
#if defined(__SSE2__)
        // A blue-red sum holds blue's result in bits 3..7 and red's in
        // 11..15; green's is summed shifted up to end on its field.
        const __m128i first = lanesOf(firstEighths), step = lanesOf(stepEighths);
        const __m128i blueField = lanesOf(31), redField = lanesOf(31u << RedShift),
                      greenField = lanesOf(31u << GreenShift);
        for (; x + 8 <= width; x += 8) {
            LaneRun<3> blueRed(LaneMix<3>(top + x, bottom + x), first, step);
            LaneRun<3, GreenShift - 3> green(LaneMix<3>(top + g + x, bottom + g + x), first, step);
            for (size_t r = 0; r < Count; ++r) {
                const __m128i sum = blueRed.next();
                const __m128i red = _mm_and_si128(RedShift == 11 ? sum : _mm_srli_epi16(sum, 11 - RedShift), redField);
                const __m128i fields = _mm_or_si128(_mm_and_si128(_mm_srli_epi16(sum, 3), blueField),
                                                    _mm_or_si128(red, _mm_and_si128(green.next(), greenField)));
                store(block.rows[r] + 2 * x, fields);
            }
        }
#endif
        for (; x < width; ++x)
            for (size_t r = 0; r < Count; ++r) {
                const uint32_t eighths = firstEighths + static_cast<uint32_t>(r) * stepEighths;
                const uint32_t blueRed = mix<3>(top[x], bottom[x], eighths);
                F::write(block.rows[r], x,
                         F::pixel(blueRed & 31, mix<3>(top[g + x], bottom[g + x], eighths) & 31, blueRed >> 8 & 31));
            }
    }
};

}  // namespace enlarger
