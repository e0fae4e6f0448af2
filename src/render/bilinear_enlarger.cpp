#include "render/bilinear_enlarger.h"

#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

// Every colour channel spread into its own 20-bit lane of a 64-bit word, so
// that one multiply blends all three: a channel times a weight of at most
// 256, plus rounding, stays below 2^17. After the shift back each lane's
// result is its low 8 bits; the fraction of the lane above lies beside it.
constexpr uint64_t kLaneMask = 0xFFu | 0xFFull << 20 | 0xFFull << 40;
constexpr uint64_t kHalf = 128u | 128ull << 20 | 128ull << 40;

uint64_t blend(uint64_t a, uint64_t b, uint32_t weightOfB) {
    return ((a * (256 - weightOfB) + b * weightOfB + kHalf) >> 8) & kLaneMask;
}

// Blue, green, red bytes of a widened pixel <-> lanes.
uint64_t spreadBytes(uint32_t v) {
    return (v & 0xFFu) | static_cast<uint64_t>(v & 0xFF00u) << 12 | static_cast<uint64_t>(v & 0xFF0000u) << 24;
}
uint32_t packBytes(uint64_t s) {
    return static_cast<uint32_t>((s & 0xFFu) | (s >> 12 & 0xFF00u) | (s >> 24 & 0xFF0000u));
}

// A pixel format as blue, green, red channel values. Byte 3 of 32-bit
// pixels is written as 0.
struct Layout32 {
    using Pixel = uint32_t;
    static uint32_t channels(Pixel v) { return v & 0xFFFFFFu; }
};

// Five-bit fields; R5G6B5's green is five bits at 6..10 with bit 5 clear,
// the convention of all drawing into such frames.
template <int RedShift, int GreenShift>
struct Layout16 {
    using Pixel = uint16_t;
    static constexpr int kRedShift = RedShift;
    static constexpr int kGreenShift = GreenShift;
    static uint32_t channels(Pixel v) {
        return (v & 31u) | (v >> GreenShift & 31u) << 8 | (v >> RedShift & 31u) << 16;
    }
};

template <class Pixel>
Pixel loadPixel(const uint8_t* row, uint32_t x) {
    Pixel v;
    std::memcpy(&v, row + sizeof(Pixel) * x, sizeof(Pixel));
    return v;
}

}  // namespace

void BilinearEnlarger::Taps::prepare(int32_t sourceLength, int32_t length) {
    first.assign(static_cast<size_t>(length), 0);
    second.assign(static_cast<size_t>(length), 0);
    weight.assign(static_cast<size_t>(length), 0);
    const int64_t last = sourceLength - 1;
    for (int32_t i = 0; i < length; ++i) {
        // Centre of destination sample i in source samples, 16.16 fixed point.
        const int64_t centre = (2 * int64_t{i} + 1) * sourceLength * 65536 / (2 * int64_t{length}) - 32768;
        const int64_t index = centre < 0 ? 0 : centre >> 16;
        const auto k = static_cast<size_t>(i);
        if (centre < 0 || index >= last) {
            first[k] = second[k] = static_cast<uint32_t>(centre < 0 ? 0 : last);
        } else {
            first[k] = static_cast<uint32_t>(index);
            second[k] = static_cast<uint32_t>(index + 1);
            weight[k] = static_cast<uint32_t>((centre & 0xFFFF) >> 8);
        }
    }
}

void BilinearEnlarger::prepare(int32_t sourceWidth, int32_t sourceHeight, int32_t width, int32_t height) {
    columns_.prepare(sourceWidth, width);
    rows_.prepare(sourceHeight, height);
    for (auto& row : widened_) row.assign(static_cast<size_t>(width) * 4, 0);
    pairBase_.assign(static_cast<size_t>(width) * 4, 0);
    pairStep_.assign(static_cast<size_t>(width) * 4, 0);
    pairValid_ = false;
    columnByteWeights_.resize(static_cast<size_t>(width) * 4);
    for (size_t i = 0; i < columnByteWeights_.size(); ++i)
        columnByteWeights_[i] = static_cast<uint16_t>(columns_.weight[i / 4]);
    widenedValid_ = {};
}

template <class Layout>
const uint8_t* BilinearEnlarger::widenedRow(const FrameTarget& source, uint32_t sourceRow, uint32_t keep) {
    for (size_t slot = 0; slot < 2; ++slot)
        if (widenedValid_[slot] && widenedFrom_[slot] == sourceRow) return widened_[slot].data();
    // Rows are needed in rising order: replace the slot that does not hold `keep`.
    const size_t slot = widenedValid_[0] && widenedFrom_[0] == keep ? 1 : 0;
    widenedFrom_[slot] = sourceRow;
    widenedValid_[slot] = true;

    using Pixel = typename Layout::Pixel;
    const uint8_t* in = source.row(static_cast<int32_t>(sourceRow));
    uint8_t* out = widened_[slot].data();
    const size_t width = columns_.first.size();
    size_t x = 0;
#if defined(__SSE2__)
    {
        // Four destination pixels at a time, each channel blended in a 16-bit
        // lane by the same formula as below.
        const __m128i full = _mm_set1_epi16(256);
        const __m128i half = _mm_set1_epi16(128);
        const __m128i zero = _mm_setzero_si128();
        auto gather = [&](const std::vector<uint32_t>& taps) {
            auto at = [&](size_t i) { return static_cast<int>(Layout::channels(loadPixel<Pixel>(in, taps[i]))); };
            return _mm_set_epi32(at(x + 3), at(x + 2), at(x + 1), at(x));
        };
        auto lanes = [&](__m128i a, __m128i b, const uint16_t* weights) {
            const __m128i wb = _mm_loadu_si128(reinterpret_cast<const __m128i*>(weights));
            const __m128i sum = _mm_add_epi16(_mm_mullo_epi16(a, _mm_sub_epi16(full, wb)), _mm_mullo_epi16(b, wb));
            return _mm_srli_epi16(_mm_add_epi16(sum, half), 8);
        };
        for (; x + 4 <= width; x += 4) {
            const __m128i a = gather(columns_.first), b = gather(columns_.second);
            const uint16_t* weights = columnByteWeights_.data() + 4 * x;
            const __m128i low = lanes(_mm_unpacklo_epi8(a, zero), _mm_unpacklo_epi8(b, zero), weights);
            const __m128i high = lanes(_mm_unpackhi_epi8(a, zero), _mm_unpackhi_epi8(b, zero), weights + 8);
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 4 * x), _mm_packus_epi16(low, high));
        }
    }
#endif
    for (; x < width; ++x) {
        const uint64_t a = spreadBytes(Layout::channels(loadPixel<Pixel>(in, columns_.first[x])));
        const uint64_t b = spreadBytes(Layout::channels(loadPixel<Pixel>(in, columns_.second[x])));
        const uint32_t v = packBytes(blend(a, b, columns_.weight[x]));
        std::memcpy(out + 4 * x, &v, 4);
    }
    return out;
}

// A row pair as base = top * 256 + 128 and step = bottom - top (two's
// complement), both 16 bits: a destination row of weight w is then
// (base + step * w) >> 8, which equals (top * (256 - w) + bottom * w + 128) >> 8
// and stays within 16 bits, so the 16-bit wrap-around of step * w is exact.
// For 32-bit frames the pair keeps the widened rows' byte order; for 16-bit
// ones it is planar (all blues, then all greens, then all reds), so eight
// pixels' fields come out of three multiply-adds and are packed at once.
void BilinearEnlarger::preparePair(const uint8_t* top, const uint8_t* bottom, bool planar) {
    const size_t width = pairBase_.size() / 4;
    if (!planar) {
        for (size_t i = 0; i < pairBase_.size(); ++i) {
            pairBase_[i] = static_cast<uint16_t>(top[i] * 256 + 128);
            pairStep_[i] = static_cast<uint16_t>(bottom[i] - top[i]);
        }
        return;
    }
    for (size_t c = 0; c < 3; ++c) {
        uint16_t* base = pairBase_.data() + c * width;
        uint16_t* step = pairStep_.data() + c * width;
        for (size_t x = 0; x < width; ++x) {
            base[x] = static_cast<uint16_t>(top[4 * x + c] * 256 + 128);
            step[x] = static_cast<uint16_t>(bottom[4 * x + c] - top[4 * x + c]);
        }
    }
}

template <int RedShift, int GreenShift>
void BilinearEnlarger::blendPairFields(uint8_t* out, uint32_t w) const {
    const size_t width = pairBase_.size() / 4;
    const uint16_t* base[3] = {pairBase_.data(), pairBase_.data() + width, pairBase_.data() + 2 * width};
    const uint16_t* step[3] = {pairStep_.data(), pairStep_.data() + width, pairStep_.data() + 2 * width};
    size_t x = 0;
#if defined(__SSE2__)
    const __m128i weight = _mm_set1_epi16(static_cast<short>(w));
    auto channel = [&](int c) {
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(base[c] + x));
        const __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(step[c] + x));
        return _mm_srli_epi16(_mm_add_epi16(b, _mm_mullo_epi16(d, weight)), 8);
    };
    for (; x + 8 <= width; x += 8) {
        const __m128i fields = _mm_or_si128(
            channel(0), _mm_or_si128(_mm_slli_epi16(channel(1), GreenShift), _mm_slli_epi16(channel(2), RedShift)));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 2 * x), fields);
    }
#endif
    for (; x < width; ++x) {
        auto field = [&](int c) { return static_cast<uint16_t>(base[c][x] + step[c][x] * w) >> 8; };
        const auto pixel = static_cast<uint16_t>(field(0) | field(1) << GreenShift | field(2) << RedShift);
        std::memcpy(out + 2 * x, &pixel, 2);
    }
}

void BilinearEnlarger::blendPair(uint8_t* out, uint32_t w) const {
    const size_t count = pairBase_.size();
    size_t i = 0;
#if defined(__SSE2__)
    const __m128i weight = _mm_set1_epi16(static_cast<short>(w));
    auto lanes = [&](size_t at) {
        const __m128i base = _mm_loadu_si128(reinterpret_cast<const __m128i*>(pairBase_.data() + at));
        const __m128i step = _mm_loadu_si128(reinterpret_cast<const __m128i*>(pairStep_.data() + at));
        return _mm_srli_epi16(_mm_add_epi16(base, _mm_mullo_epi16(step, weight)), 8);
    };
    for (; i + 16 <= count; i += 16)
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), _mm_packus_epi16(lanes(i), lanes(i + 8)));
#endif
    for (; i < count; ++i) out[i] = static_cast<uint8_t>(static_cast<uint16_t>(pairBase_[i] + pairStep_[i] * w) >> 8);
}

template <class Layout>
void BilinearEnlarger::enlargeAs(const FrameTarget& source, const FrameTarget& destination) {
    using Pixel = typename Layout::Pixel;
    widenedValid_ = {};
    pairValid_ = false;
    for (int32_t y = 0; y < destination.height; ++y) {
        const auto k = static_cast<size_t>(y);
        if (!pairValid_ || pairRows_[0] != rows_.first[k] || pairRows_[1] != rows_.second[k]) {
            const uint8_t* top = widenedRow<Layout>(source, rows_.first[k], rows_.second[k]);
            const uint8_t* bottom = widenedRow<Layout>(source, rows_.second[k], rows_.first[k]);
            preparePair(top, bottom, sizeof(Pixel) == 2);
            pairRows_ = {rows_.first[k], rows_.second[k]};
            pairValid_ = true;
        }
        const uint32_t w = rows_.weight[k];
        uint8_t* out = destination.row(y);
        if constexpr (sizeof(Pixel) == 4) blendPair(out, w);
        else blendPairFields<Layout::kRedShift, Layout::kGreenShift>(out, w);
    }
}

void BilinearEnlarger::enlarge(const FrameTarget& source, const FrameTarget& destination) {
    switch (destination.format) {
    case kFormatA8R8G8B8:
    case kFormatX8R8G8B8: enlargeAs<Layout32>(source, destination); break;
    case kFormatR5G6B5: enlargeAs<Layout16<11, 6>>(source, destination); break;
    case kFormatX1R5G5B5: enlargeAs<Layout16<10, 5>>(source, destination); break;
    default: break;
    }
}
