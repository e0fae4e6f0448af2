#include "starfield/star_pass.h"

#include <cstdlib>
#include <cstring>

#include "raster/avx2.h"
#include "starfield/star_motion.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

using namespace starmotion;

namespace {

// The pass over the field's arrays. Lanes move and project a block of stars
// at once; a block that holds a star to retire or to place is finished here
// star by star, so placements draw from the generator in star order.
struct Pass {
    StarField& field;
    StarField::Stars& stars;
    StarField::PendingPlots& plots;
    const Motion motion;
    int32_t placed = 0;

    void plot(size_t i, Projection at, int32_t brightness) {
        const size_t k = plots.count++;
        plots.star[k] = static_cast<uint32_t>(i);
        plots.x[k] = at.x;
        plots.y[k] = at.y;
        plots.brightness[k] = brightness;
    }

    int32_t brightnessOf(size_t i) const { return starBrightness(stars.z[i], stars.fade[i], field.nearSpawnDepth); }

    // A waiting star is placed, through its kind, while the budget lasts.
    void placeStar(size_t i) {
        if (placed >= field.spawnBudget) return;
        Star& star = *field.kind;
        stars.read(i, star);
        star.place(field);
        stars.write(i, star);
        ++placed;
        plot(i, project(motion, star.x, star.y, star.z), brightnessOf(i));
    }

    // One star on its own: the plain pass, and the stars past the last block.
    void passStar(size_t i) {
        if (!stars.active[i]) return placeStar(i);
        Projection at;
        if (advance(motion, stars.x[i], stars.y[i], stars.z[i], at)) plot(i, at, brightnessOf(i));
        else stars.active[i] = 0;
    }

    // The rest of a block the lanes moved and projected: its bits say, lane
    // by lane, which stars were in flight at the step's start and which of
    // them still are.
    void finishBlock(size_t first, int lanes, unsigned active, unsigned flying, const int32_t* x, const int32_t* y) {
        for (int lane = 0; lane < lanes; ++lane) {
            const size_t i = first + static_cast<size_t>(lane);
            if (!(active >> lane & 1)) placeStar(i);
            else if (flying >> lane & 1) plot(i, {x[lane], y[lane]}, brightnessOf(i));
            else stars.active[i] = 0;
        }
    }
};

// The lanes compute in double precision, where every product and quotient
// they form is exact or is rounded the way the one-star arithmetic rounds
// it: x * cosine - y * sine is below 2^48; its quotient by the depth is the
// very double exactQuotient truncates; truncating it to 32 bits gives
// INT32_MIN for any quotient beyond, which then projects at least 2^15 *
// |focalLength| from the centre, out of view, as the one-star projection of
// such a quotient does; and below 2^22 the focal length's product with a
// 32-bit quotient stays below 2^53. Outside these bounds the pass moves one
// star at a time. A star's brightness needs a fade that is not negative: its
// depth times its fade is then exact below 2^53, where the quotient by a
// positive spawn depth is the one starBrightness truncates, and any larger
// product dims the star to 0 however it is rounded. A block with a negative
// fade is finished star by star.
constexpr int64_t kLaneFocalLimit = int64_t{1} << 22;

bool lanesStayExact(const StarField& field, const Motion& m) {
    const int64_t focal = std::llabs(m.focalLength);
    return field.nearSpawnDepth > 0 && focal <= kLaneFocalLimit && m.bound <= (int64_t{1} << 30) &&
           (focal == 0 || focal << 15 >= m.bound);
}

#if defined(__SSE2__)
// Four stars a block, two per double-precision register.
struct Sse2Lanes {
    __m128d cosine, sine, scale, bound, sign, spawnDepth, darkest;

    explicit Sse2Lanes(const StarField& f, const Motion& m)
        : cosine(_mm_set1_pd(static_cast<double>(m.cosine))),
          sine(_mm_set1_pd(static_cast<double>(m.sine))),
          scale(_mm_set1_pd(static_cast<double>(m.focalLength) / 65536.0)),
          bound(_mm_set1_pd(static_cast<double>(m.bound))),
          sign(_mm_set1_pd(-0.0)),
          spawnDepth(_mm_set1_pd(f.nearSpawnDepth)),
          darkest(_mm_set1_pd(255.0)) {}

    // Projections of the two stars in the low lanes; `inView` gets one bit
    // per star within the bound.
    void project(__m128i x, __m128i y, __m128i d, __m128i& px, __m128i& py, int& inView) const {
        const __m128d xd = _mm_cvtepi32_pd(x), yd = _mm_cvtepi32_pd(y), dd = _mm_cvtepi32_pd(d);
        const __m128d qx = _mm_div_pd(_mm_sub_pd(_mm_mul_pd(xd, cosine), _mm_mul_pd(yd, sine)), dd);
        const __m128d qy = _mm_div_pd(_mm_add_pd(_mm_mul_pd(xd, sine), _mm_mul_pd(yd, cosine)), dd);
        const __m128d sx = _mm_mul_pd(_mm_cvtepi32_pd(_mm_cvttpd_epi32(qx)), scale);
        const __m128d sy = _mm_mul_pd(_mm_cvtepi32_pd(_mm_cvttpd_epi32(qy)), scale);
        inView = _mm_movemask_pd(_mm_and_pd(_mm_cmplt_pd(_mm_andnot_pd(sign, sx), bound),
                                            _mm_cmplt_pd(_mm_andnot_pd(sign, sy), bound)));
        px = _mm_cvttpd_epi32(sx);
        py = _mm_cvttpd_epi32(sy);
    }

    // 255 minus the brightness of the two stars in the low lanes.
    __m128i dimming(__m128i z, __m128i fade) const {
        const __m128d t = _mm_div_pd(_mm_mul_pd(_mm_cvtepi32_pd(z), _mm_cvtepi32_pd(fade)), spawnDepth);
        return _mm_cvttpd_epi32(_mm_min_pd(t, darkest));
    }
};

__m128i highPair(__m128i v) { return _mm_shuffle_epi32(v, _MM_SHUFFLE(1, 0, 3, 2)); }

// Four positions moved by wrapping addition where `active` is set, stored back.
__m128i moved(int32_t* at, __m128i delta, __m128i active) {
    const __m128i v =
        _mm_add_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(at)), _mm_and_si128(delta, active));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(at), v);
    return v;
}

size_t passSse2(Pass& pass) {
    StarField::Stars& s = pass.stars;
    const Motion& m = pass.motion;
    const Sse2Lanes lanes(pass.field, m);
    const __m128i zero = _mm_setzero_si128(), one = _mm_set1_epi32(1), brightest = _mm_set1_epi32(255);
    const __m128i dx = _mm_set1_epi32(m.dx), dy = _mm_set1_epi32(m.dy), dz = _mm_set1_epi32(m.dz);
    const __m128i step = _mm_set1_epi32(4);
    __m128i index = _mm_setr_epi32(0, 1, 2, 3);
    const size_t blocks = s.size() / 4 * 4;
    for (size_t i = 0; i < blocks; i += 4, index = _mm_add_epi32(index, step)) {
        int32_t flags;
        std::memcpy(&flags, &s.active[i], 4);
        const __m128i bytes = _mm_cmpgt_epi8(_mm_cvtsi32_si128(flags), zero);
        const __m128i active = _mm_unpacklo_epi16(_mm_unpacklo_epi8(bytes, bytes), _mm_unpacklo_epi8(bytes, bytes));
        const __m128i x = moved(&s.x[i], dx, active), y = moved(&s.y[i], dy, active), z = moved(&s.z[i], dz, active);
        const __m128i d = _mm_or_si128(z, one);
        __m128i xLow, yLow, xHigh, yHigh;
        int inViewLow, inViewHigh;
        lanes.project(x, y, d, xLow, yLow, inViewLow);
        lanes.project(highPair(x), highPair(y), highPair(d), xHigh, yHigh, inViewHigh);
        const __m128i px = _mm_unpacklo_epi64(xLow, xHigh), py = _mm_unpacklo_epi64(yLow, yHigh);
        const auto activeBits = static_cast<unsigned>(_mm_movemask_ps(_mm_castsi128_ps(active)));
        const unsigned flying = activeBits & static_cast<unsigned>(inViewLow | inViewHigh << 2) &
                                ~static_cast<unsigned>(_mm_movemask_ps(_mm_castsi128_ps(z)));
        const __m128i fade = _mm_loadu_si128(reinterpret_cast<const __m128i*>(&s.fade[i]));
        // A block whose stars all stay in flight, none with a negative fade,
        // is plotted whole; any other is finished star by star.
        if (flying == 0xF && _mm_movemask_ps(_mm_castsi128_ps(fade)) == 0) {
            const __m128i dim = _mm_unpacklo_epi64(lanes.dimming(z, fade), lanes.dimming(highPair(z), highPair(fade)));
            StarField::PendingPlots& plots = pass.plots;
            _mm_storeu_si128(reinterpret_cast<__m128i*>(&plots.star[plots.count]), index);
            _mm_storeu_si128(reinterpret_cast<__m128i*>(&plots.x[plots.count]), px);
            _mm_storeu_si128(reinterpret_cast<__m128i*>(&plots.y[plots.count]), py);
            _mm_storeu_si128(reinterpret_cast<__m128i*>(&plots.brightness[plots.count]), _mm_sub_epi32(brightest, dim));
            plots.count += 4;
        } else {
            alignas(16) int32_t xs[4], ys[4];
            _mm_store_si128(reinterpret_cast<__m128i*>(xs), px);
            _mm_store_si128(reinterpret_cast<__m128i*>(ys), py);
            pass.finishBlock(i, 4, activeBits, flying, xs, ys);
        }
    }
    return blocks;
}
#endif

#if LUMARA_WIDE_VECTORS
// Eight stars a block, four per double-precision register.
struct Avx2Lanes {
    __m256d cosine, sine, scale, bound, sign, spawnDepth, darkest;

    LUMARA_AVX2 explicit Avx2Lanes(const StarField& f, const Motion& m)
        : cosine(_mm256_set1_pd(static_cast<double>(m.cosine))),
          sine(_mm256_set1_pd(static_cast<double>(m.sine))),
          scale(_mm256_set1_pd(static_cast<double>(m.focalLength) / 65536.0)),
          bound(_mm256_set1_pd(static_cast<double>(m.bound))),
          sign(_mm256_set1_pd(-0.0)),
          spawnDepth(_mm256_set1_pd(f.nearSpawnDepth)),
          darkest(_mm256_set1_pd(255.0)) {}

    LUMARA_AVX2 void project(__m128i x, __m128i y, __m128i d, __m128i& px, __m128i& py, int& inView) const {
        const __m256d xd = _mm256_cvtepi32_pd(x), yd = _mm256_cvtepi32_pd(y), dd = _mm256_cvtepi32_pd(d);
        const __m256d qx = _mm256_div_pd(_mm256_sub_pd(_mm256_mul_pd(xd, cosine), _mm256_mul_pd(yd, sine)), dd);
        const __m256d qy = _mm256_div_pd(_mm256_add_pd(_mm256_mul_pd(xd, sine), _mm256_mul_pd(yd, cosine)), dd);
        const __m256d sx = _mm256_mul_pd(_mm256_cvtepi32_pd(_mm256_cvttpd_epi32(qx)), scale);
        const __m256d sy = _mm256_mul_pd(_mm256_cvtepi32_pd(_mm256_cvttpd_epi32(qy)), scale);
        inView = _mm256_movemask_pd(_mm256_and_pd(_mm256_cmp_pd(_mm256_andnot_pd(sign, sx), bound, _CMP_LT_OQ),
                                                  _mm256_cmp_pd(_mm256_andnot_pd(sign, sy), bound, _CMP_LT_OQ)));
        px = _mm256_cvttpd_epi32(sx);
        py = _mm256_cvttpd_epi32(sy);
    }

    LUMARA_AVX2 __m128i dimming(__m128i z, __m128i fade) const {
        const __m256d t = _mm256_div_pd(_mm256_mul_pd(_mm256_cvtepi32_pd(z), _mm256_cvtepi32_pd(fade)), spawnDepth);
        return _mm256_cvttpd_epi32(_mm256_min_pd(t, darkest));
    }
};

LUMARA_AVX2 inline __m128i lowHalf(__m256i v) { return _mm256_castsi256_si128(v); }
LUMARA_AVX2 inline __m128i highHalf(__m256i v) { return _mm256_extracti128_si256(v, 1); }

LUMARA_AVX2 inline __m256i moved(int32_t* at, __m256i delta, __m256i active) {
    const __m256i v =
        _mm256_add_epi32(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(at)), _mm256_and_si256(delta, active));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(at), v);
    return v;
}

LUMARA_AVX2 size_t passAvx2(Pass& pass) {
    StarField::Stars& s = pass.stars;
    const Motion& m = pass.motion;
    const Avx2Lanes lanes(pass.field, m);
    const __m256i zero = _mm256_setzero_si256(), one = _mm256_set1_epi32(1), brightest = _mm256_set1_epi32(255);
    const __m256i dx = _mm256_set1_epi32(m.dx), dy = _mm256_set1_epi32(m.dy), dz = _mm256_set1_epi32(m.dz);
    const __m256i step = _mm256_set1_epi32(8);
    __m256i index = _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7);
    const size_t blocks = s.size() / 8 * 8;
    for (size_t i = 0; i < blocks; i += 8, index = _mm256_add_epi32(index, step)) {
        const __m256i active = _mm256_cmpgt_epi32(
            _mm256_cvtepu8_epi32(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(&s.active[i]))), zero);
        const __m256i x = moved(&s.x[i], dx, active), y = moved(&s.y[i], dy, active), z = moved(&s.z[i], dz, active);
        const __m256i d = _mm256_or_si256(z, one);
        __m128i xLow, yLow, xHigh, yHigh;
        int inViewLow, inViewHigh;
        lanes.project(lowHalf(x), lowHalf(y), lowHalf(d), xLow, yLow, inViewLow);
        lanes.project(highHalf(x), highHalf(y), highHalf(d), xHigh, yHigh, inViewHigh);
        const __m256i px = _mm256_set_m128i(xHigh, xLow), py = _mm256_set_m128i(yHigh, yLow);
        const auto activeBits = static_cast<unsigned>(_mm256_movemask_ps(_mm256_castsi256_ps(active)));
        const unsigned flying = activeBits & static_cast<unsigned>(inViewLow | inViewHigh << 4) &
                                ~static_cast<unsigned>(_mm256_movemask_ps(_mm256_castsi256_ps(z)));
        const __m256i fade = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(&s.fade[i]));
        if (flying == 0xFF && _mm256_movemask_ps(_mm256_castsi256_ps(fade)) == 0) {
            const __m256i dim = _mm256_set_m128i(lanes.dimming(highHalf(z), highHalf(fade)),
                                                 lanes.dimming(lowHalf(z), lowHalf(fade)));
            StarField::PendingPlots& plots = pass.plots;
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(&plots.star[plots.count]), index);
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(&plots.x[plots.count]), px);
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(&plots.y[plots.count]), py);
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(&plots.brightness[plots.count]),
                                _mm256_sub_epi32(brightest, dim));
            plots.count += 8;
        } else {
            alignas(32) int32_t xs[8], ys[8];
            _mm256_store_si256(reinterpret_cast<__m256i*>(xs), px);
            _mm256_store_si256(reinterpret_cast<__m256i*>(ys), py);
            pass.finishBlock(i, 8, activeBits, flying, xs, ys);
        }
    }
    return blocks;
}
#endif

// The stars the lanes moved; the rest go one at a time.
size_t passInLanes(Pass& pass) {
    if (!lanesStayExact(pass.field, pass.motion)) return 0;
#if LUMARA_WIDE_VECTORS
    if (pass.field.lanes == StarLanes::Avx2 && avx2Available()) return passAvx2(pass);
#endif
#if defined(__SSE2__)
    if (pass.field.lanes != StarLanes::Plain) return passSse2(pass);
#endif
    return 0;
}

// Point stars are drawn as one batch; stars of any other kind one by one
// through their kind's plot.
void drawPendingPlots(StarField& f) {
    const StarField::PendingPlots& plots = f.pendingPlots;
    if (dynamic_cast<const PointStar*>(f.kind.get())) {
        drawStarsAt(f.view.canvas, plots.batch(), f.halfWidth, f.halfHeight, 2 * int64_t{f.halfWidth},
                    2 * int64_t{f.halfHeight});
    } else {
        for (size_t k = 0; k < plots.size(); ++k) {
            f.stars.read(plots.star[k], *f.kind);
            f.projectedX = plots.x[k];
            f.projectedY = plots.y[k];
            f.kind->plot(f);
        }
    }
    if (plots.size() == 0) return;
    f.projectedX = plots.x[plots.size() - 1];
    f.projectedY = plots.y[plots.size() - 1];
}

}  // namespace

void runStarPass(StarField& field) {
    field.pendingPlots.count = 0;
    Pass pass{field, field.stars, field.pendingPlots, motionOf(field)};
    for (size_t i = passInLanes(pass); i < field.stars.size(); ++i) pass.passStar(i);
    drawPendingPlots(field);
}
