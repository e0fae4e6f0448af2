#include "raster/draw_star.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>

#include "raster/avx2.h"
#include "raster/splat_table.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

uint32_t load32(const uint8_t* p) {
    uint32_t v;
    std::memcpy(&v, p, 4);
    return v;
}
void store32(uint8_t* p, uint32_t v) { std::memcpy(p, &v, 4); }
uint16_t load16(const uint8_t* p) {
    uint16_t v;
    std::memcpy(&v, p, 2);
    return v;
}
void store16(uint8_t* p, uint16_t v) { std::memcpy(p, &v, 2); }

// Where each colour field of a 16-bit format sits. R5G6B5's green is used as
// five bits at 6..10 with bit 5 always cleared, so greys stay grey.
struct Layout16 {
    int redShift;
    int greenShift;
};
constexpr Layout16 kLayout565{11, 6};
constexpr Layout16 kLayout555{10, 5};

void plotGrey32(uint8_t* p, int32_t f) {
    const uint32_t grey = static_cast<uint32_t>(std::max<int32_t>(f, p[1]));
    store32(p, grey | grey << 8 | grey << 16);
}

void plotGrey16(uint8_t* p, int32_t f, Layout16 layout) {
    const uint32_t grey = static_cast<uint32_t>(std::max<int32_t>(f >> 3, load16(p) & 31));
    store16(p, static_cast<uint16_t>(grey << layout.redShift | grey << layout.greenShift | grey));
}

// Every pixel of the splat, one at a time; a weight of 0 adds nothing but
// the pixel's byte 3 is still cleared, as the vector loops clear it.
void splat32Plain(const FrameTarget& frame, const SplatTable& table, int px, int py, int sx, int sy, int32_t f) {
    const int n = table.splatWidth;
    const int32_t* w = table.splat(sx, sy);
    for (int row = 0; row < n; ++row) {
        uint8_t* p = frame.row(py + row) + static_cast<intptr_t>(px) * 4;
        for (int col = 0; col < n; ++col, p += 4, ++w) {
            const uint32_t add = static_cast<uint32_t>((*w * f) >> 8);
            const uint32_t old = load32(p);
            const uint32_t b = std::min<uint32_t>(255, (old & 0xFF) + add);
            const uint32_t g = std::min<uint32_t>(255, (old >> 8 & 0xFF) + add);
            const uint32_t r = std::min<uint32_t>(255, (old >> 16 & 0xFF) + add);
            store32(p, b | g << 8 | r << 16);
        }
    }
}

#if LUMARA_WIDE_VECTORS
// One row of the eight-wide splat at a time. A weight w <= 256 times 256 f
// fits in 16 bits, so the high half of that product is (w * f) >> 8; one
// multiplication spreads it to blue, green and red (byte 3 stays 0), which
// are added with byte saturation; the frame's byte 3 is cleared.
LUMARA_AVX2 void splat32Rows8(const FrameTarget& frame, const SplatTable& table, int px, int py, int sx, int sy,
                              int32_t f) {
    const int32_t* weights = table.splat(sx, sy);
    const __m256i brightness = _mm256_set1_epi32(f << 8);
    const __m256i spread = _mm256_set1_epi32(0x00010101);
    const __m256i colourBytes = _mm256_set1_epi32(0x00FFFFFF);
    uint8_t* p = frame.row(py) + static_cast<intptr_t>(px) * 4;
    for (int row = 0; row < 8; ++row, weights += 8, p += frame.pitch) {
        const __m256i w = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(weights));
        const __m256i add = _mm256_mullo_epi32(_mm256_mulhi_epu16(w, brightness), spread);
        const __m256i old = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(p), _mm256_and_si256(_mm256_adds_epu8(old, add), colourBytes));
    }
}
#endif

#if defined(__SSE2__)
// Four pixels at a time: each weight, scaled by the brightness, is spread
// to blue, green and red and added with byte saturation; byte 3 is cleared.
// Exactly the per-channel min(255, old + w) of the plain loop below.
void splat32Sse2(const FrameTarget& frame, const SplatTable& table, int px, int py, int sx, int sy, int32_t f) {
    const int n = table.splatWidth;
    const int32_t* weights = table.splat(sx, sy);
    const __m128i brightness = _mm_set1_epi32(f);
    const __m128i colourBytes = _mm_set1_epi32(0x00FFFFFF);
    auto added = [&](__m128i w) {
        // w <= 256 and f <= 255: the 16-bit product cannot overflow.
        const __m128i scaled = _mm_srli_epi32(_mm_mullo_epi16(w, brightness), 8);
        return _mm_or_si128(scaled, _mm_or_si128(_mm_slli_epi32(scaled, 8), _mm_slli_epi32(scaled, 16)));
    };
    for (int row = 0; row < n; ++row, weights += n) {
        uint8_t* p = frame.row(py + row) + static_cast<intptr_t>(px) * 4;
        int col = 0;
        for (; col + 4 <= n; col += 4, p += 16) {
            const __m128i w = _mm_loadu_si128(reinterpret_cast<const __m128i*>(weights + col));
            const __m128i old = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(p), _mm_and_si128(_mm_adds_epu8(old, added(w)), colourBytes));
        }
        if (col + 2 <= n) {
            const __m128i w = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(weights + col));
            const __m128i old = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(p));
            _mm_storel_epi64(reinterpret_cast<__m128i*>(p), _mm_and_si128(_mm_adds_epu8(old, added(w)), colourBytes));
            col += 2;
            p += 8;
        }
        if (col < n) {
            const __m128i w = _mm_cvtsi32_si128(weights[col]);
            const __m128i old = _mm_cvtsi32_si128(static_cast<int>(load32(p)));
            store32(p, static_cast<uint32_t>(_mm_cvtsi128_si32(_mm_and_si128(_mm_adds_epu8(old, added(w)), colourBytes))));
        }
    }
}
#endif

void splat16(const FrameTarget& frame, const SplatTable& table, int px, int py, int sx, int sy, int32_t f,
             Layout16 layout) {
    const int n = table.splatWidth;
    const int32_t f5 = f >> 3;
    const SplatTable::Span* spans = table.rowSpans(sx, sy);
    for (int row = 0; row < n; ++row) {
        const int32_t* w = table.splat(sx, sy) + row * n + spans[row].first;
        uint8_t* p = frame.row(py + row) + static_cast<intptr_t>(px + spans[row].first) * 2;
        for (int col = spans[row].first; col < spans[row].end; ++col, p += 2, ++w) {
            const uint32_t add = static_cast<uint32_t>((*w * f5) >> 8);
            const uint32_t old = load16(p);
            const uint32_t b = std::min<uint32_t>(31, (old & 31) + add);
            const uint32_t g = std::min<uint32_t>(31, (old >> layout.greenShift & 31) + add);
            const uint32_t r = std::min<uint32_t>(31, (old >> layout.redShift & 31) + add);
            store16(p, static_cast<uint16_t>(r << layout.redShift | g << layout.greenShift | b));
        }
    }
}

}  // namespace

int32_t starBrightness(int32_t z, int32_t fade, int32_t nearSpawnDepth) {
    const int64_t product = std::llabs(int64_t{z}) * fade;
    // The flight's depths and fades keep the product within 32 bits, where
    // the division is several times cheaper; 64 bits only for the rest.
    const int64_t dimming = product <= INT32_MAX && nearSpawnDepth > 0
                                ? static_cast<int32_t>(product) / nearSpawnDepth
                                : product / nearSpawnDepth;
    return static_cast<int32_t>(std::max<int64_t>(0, 255 - dimming));
}

namespace {

// The pixel a 24.8 position lies in, and the 1/32 pixel within it that
// picks the splat's weights.
int pixelOf(int64_t v) { return static_cast<int>(v >> 8); }
int subPixelOf(int64_t v) { return static_cast<int>(v >> 3 & 31); }

// The top-left pixel a star at (x, y) touches, or false when it is skipped.
bool starOrigin(const StarCanvas& canvas, int64_t x, int64_t y, int64_t limitX, int64_t limitY, int& px, int& py) {
    const FrameTarget& frame = canvas.frame;
    const SplatTable* table = canvas.splat;
    const int64_t reach = table ? int64_t{table->splatWidth} * 256 : 0;
    if (x < 0 || y < 0 || x >= limitX - reach || y >= limitY - reach) return false;
    if (frame.empty() || !isDrawableFormat(frame.format)) return false;
    px = pixelOf(x);
    py = pixelOf(y);
    // The view limits lie inside the frame the renderer locks; this only
    // keeps a canvas smaller than its view from being written past.
    const int span = table ? table->splatWidth : 1;
    return px <= frame.width - span && py <= frame.height - span;
}

}  // namespace

void eraseStarAt(const StarCanvas& canvas, int64_t x, int64_t y, int64_t limitX, int64_t limitY) {
    int px = 0, py = 0;
    if (!starOrigin(canvas, x, y, limitX, limitY, px, py)) return;
    const FrameTarget& frame = canvas.frame;
    const int span = canvas.splat ? canvas.splat->splatWidth : 1;
    const int bpp = bytesPerPixel(frame.format);
    for (int row = 0; row < span; ++row)
        std::memset(frame.row(py + row) + static_cast<intptr_t>(px) * bpp, 0, static_cast<size_t>(span * bpp));
}

namespace {

// The stars of a batch where drawStarAt would draw them: a star starts at
// (x, y), 24.8, when both are not negative and below these ends (its whole
// pixel or splat then lies inside the limits and the frame).
struct BatchWalk {
    const StarBatch& stars;
    int64_t originX, originY;
    uint64_t xEnd, yEnd;

    bool at(size_t i, int64_t& x, int64_t& y) const {
        x = originX + stars.x[i];
        y = originY + stars.y[i];
        return static_cast<uint64_t>(x) < xEnd && static_cast<uint64_t>(y) < yEnd;
    }
};

uint8_t* pixelAt(const FrameTarget& frame, int64_t x, int64_t y, int bpp) {
    return frame.row(pixelOf(y)) + static_cast<intptr_t>(pixelOf(x)) * bpp;
}

template <typename DrawOne>
void drawEach(const BatchWalk& walk, DrawOne draw) {
    int64_t x = 0, y = 0;
    for (size_t i = 0; i < walk.stars.count; ++i)
        if (walk.at(i, x, y)) draw(x, y, walk.stars.brightness[i]);
}

#if LUMARA_WIDE_VECTORS
LUMARA_AVX2 void drawSplats8Avx2(const FrameTarget& frame, const SplatTable& table, const BatchWalk& walk) {
    int64_t x = 0, y = 0;
    for (size_t i = 0; i < walk.stars.count; ++i)
        if (walk.at(i, x, y))
            splat32Rows8(frame, table, pixelOf(x), pixelOf(y), subPixelOf(x), subPixelOf(y), walk.stars.brightness[i]);
}
#endif

}  // namespace

void drawStarsAt(const StarCanvas& canvas, const StarBatch& stars, int64_t originX, int64_t originY, int64_t limitX,
                 int64_t limitY) {
    const FrameTarget& frame = canvas.frame;
    const SplatTable* table = canvas.splat;
    if (frame.empty() || !isDrawableFormat(frame.format)) return;
    const int span = table ? table->splatWidth : 1;
    const int64_t reach = table ? int64_t{span} * 256 : 0;
    const int64_t xEnd = std::min(limitX - reach, (int64_t{frame.width} - span + 1) * 256);
    const int64_t yEnd = std::min(limitY - reach, (int64_t{frame.height} - span + 1) * 256);
    if (xEnd <= 0 || yEnd <= 0) return;
    const BatchWalk walk{stars, originX, originY, static_cast<uint64_t>(xEnd), static_cast<uint64_t>(yEnd)};
    const int bpp = bytesPerPixel(frame.format);
    const Layout16 layout = frame.format == kFormatR5G6B5 ? kLayout565 : kLayout555;
    if (!table) {
        if (bpp == 4) drawEach(walk, [&](int64_t x, int64_t y, int32_t f) { plotGrey32(pixelAt(frame, x, y, 4), f); });
        else drawEach(walk, [&](int64_t x, int64_t y, int32_t f) { plotGrey16(pixelAt(frame, x, y, 2), f, layout); });
        return;
    }
    const SplatTable& t = *table;
    if (bpp == 2) {
        drawEach(walk, [&](int64_t x, int64_t y, int32_t f) {
            splat16(frame, t, pixelOf(x), pixelOf(y), subPixelOf(x), subPixelOf(y), f, layout);
        });
        return;
    }
    switch (t.rows) {
#if LUMARA_WIDE_VECTORS
    case SplatRows::Avx2: drawSplats8Avx2(frame, t, walk); break;
#endif
#if defined(__SSE2__)
    case SplatRows::Sse2:
        drawEach(walk, [&](int64_t x, int64_t y, int32_t f) {
            splat32Sse2(frame, t, pixelOf(x), pixelOf(y), subPixelOf(x), subPixelOf(y), f);
        });
        break;
#endif
    default:
        drawEach(walk, [&](int64_t x, int64_t y, int32_t f) {
            splat32Plain(frame, t, pixelOf(x), pixelOf(y), subPixelOf(x), subPixelOf(y), f);
        });
        break;
    }
}

// One star is a batch of one, drawn at its own position.
void drawStarAt(const StarCanvas& canvas, int64_t x, int64_t y, int64_t limitX, int64_t limitY, int32_t f) {
    const int32_t atOrigin = 0;
    drawStarsAt(canvas, StarBatch{&atOrigin, &atOrigin, &f, 1}, x, y, limitX, limitY);
}
