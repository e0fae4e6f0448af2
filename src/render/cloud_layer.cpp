#include "render/cloud_layer.h"

#include <algorithm>
#include <cmath>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "starfield/random.h"

namespace {

constexpr float kPi = 3.1415927f;
constexpr float kRandMax = static_cast<float>(Random::kMax);

float unitDraw(Random& rng) { return static_cast<float>(rng()) / kRandMax; }

}  // namespace

void initCloudLayer(CloudLayer& layer, uint32_t n, Random& rng) {
    n = std::min(n, kMaxCloudTerms);
    layer.termCount = n;
    layer.weight.assign(n, 0.0f);
    for (auto& f : layer.freq) f.assign(n, 0.0f);
    for (auto& p : layer.phase) p.assign(n, 0.0f);

    const float span = layer.freqMax - layer.freqMin;
    float sum = 0.0f;
    for (uint32_t i = 0; i < n; ++i) {
        layer.weight[i] = unitDraw(rng);
        sum += layer.weight[i] * layer.weight[i];
        for (auto& f : layer.freq) f[i] = layer.freqMin + span * static_cast<float>(rng()) / kRandMax;
        for (auto& p : layer.phase) p[i] = static_cast<float>(rng()) * kPi / kRandMax;
    }
    // The sum of squares, not its root: the pattern's contrast grows as the
    // draws shrink, which is part of the nebula's look.
    for (float& w : layer.weight) w /= sum;
}

void initCloudLayers(CloudLayers& layers, int32_t clouds, Random& rng) {
    constexpr float kFreqMax[3] = {25.0f, 30.0f, 35.0f};
    const auto density = static_cast<uint32_t>(std::clamp(clouds, 1, 10));
    for (uint32_t k = 0; k < layers.size(); ++k) {
        layers[k].freqMax = kFreqMax[k];
        layers[k].freqMin = 0.0f;
        initCloudLayer(layers[k], density + 2 + k, rng);
    }
}

void cloudThirdSines(const CloudLayer& layer, float c, float* thirdSines) {
    for (uint32_t i = 0; i < layer.termCount; ++i)
        thirdSines[i] = std::sin(c * layer.freq[2][i] + layer.phase[2][i]);
}

namespace {

#if defined(__SSE2__)
// Four single-precision sines at once: the argument reduced by quarter
// turns with pi/4 split in three parts, then the minimax polynomials of
// sine or cosine on [-pi/4, pi/4]. Within two units in the last place of
// the C library's sinf for |x| < 8192; larger arguments (the nebula's
// terms never come near) take the library's sine.
void sine4(const float* in, float* out) {
    const __m128 x0 = _mm_loadu_ps(in);
    const __m128 signMask = _mm_castsi128_ps(_mm_set1_epi32(static_cast<int>(0x80000000u)));
    __m128 x = _mm_andnot_ps(signMask, x0);
    if (_mm_movemask_ps(_mm_cmpge_ps(x, _mm_set1_ps(8192.0f))) != 0) {
        for (int i = 0; i < 4; ++i) out[i] = std::sin(in[i]);
        return;
    }
    __m128 sign = _mm_and_ps(x0, signMask);
    __m128i j = _mm_cvttps_epi32(_mm_mul_ps(x, _mm_set1_ps(1.27323954473516f)));  // 4/pi
    j = _mm_and_si128(_mm_add_epi32(j, _mm_set1_epi32(1)), _mm_set1_epi32(~1));
    const __m128 y = _mm_cvtepi32_ps(j);
    // Octants 4..7 flip the sign; octants 2, 3, 6, 7 take the cosine polynomial.
    sign = _mm_xor_ps(sign, _mm_castsi128_ps(_mm_slli_epi32(_mm_and_si128(j, _mm_set1_epi32(4)), 29)));
    const __m128 useCosine = _mm_castsi128_ps(_mm_cmpeq_epi32(_mm_and_si128(j, _mm_set1_epi32(2)), _mm_set1_epi32(2)));
    x = _mm_sub_ps(x, _mm_mul_ps(y, _mm_set1_ps(0.78515625f)));
    x = _mm_sub_ps(x, _mm_mul_ps(y, _mm_set1_ps(2.4187564849853515625e-4f)));
    x = _mm_sub_ps(x, _mm_mul_ps(y, _mm_set1_ps(3.77489497744594108e-8f)));
    const __m128 z = _mm_mul_ps(x, x);
    __m128 c = _mm_set1_ps(2.443315711809948e-5f);
    c = _mm_add_ps(_mm_mul_ps(c, z), _mm_set1_ps(-1.388731625493765e-3f));
    c = _mm_add_ps(_mm_mul_ps(c, z), _mm_set1_ps(4.166664568298827e-2f));
    c = _mm_mul_ps(_mm_mul_ps(c, z), z);
    c = _mm_add_ps(_mm_sub_ps(c, _mm_mul_ps(z, _mm_set1_ps(0.5f))), _mm_set1_ps(1.0f));
    __m128 s = _mm_set1_ps(-1.9515295891e-4f);
    s = _mm_add_ps(_mm_mul_ps(s, z), _mm_set1_ps(8.3321608736e-3f));
    s = _mm_add_ps(_mm_mul_ps(s, z), _mm_set1_ps(-1.6666654611e-1f));
    s = _mm_add_ps(_mm_mul_ps(_mm_mul_ps(s, z), x), x);
    const __m128 r = _mm_or_ps(_mm_and_ps(useCosine, c), _mm_andnot_ps(useCosine, s));
    _mm_storeu_ps(out, _mm_xor_ps(r, sign));
}
#else
void sine4(const float* in, float* out) {
    for (int i = 0; i < 4; ++i) out[i] = std::sin(in[i]);
}
#endif

}  // namespace

float cloudValueWithThirdSines(const CloudLayer& layer, float a, float b, const float* thirdSines) {
    // The sines of every term first, four at a time; then the terms, added
    // in order. Each term is a float before it is added, whatever precision
    // the products were formed in.
    constexpr size_t kPadded = (kMaxCloudTerms + 3) / 4 * 4;
    std::array<float, kPadded> first{}, second{}, firstSines, secondSines;
    const uint32_t n = layer.termCount;
    for (uint32_t i = 0; i < n; ++i) {
        first[i] = a * layer.freq[0][i] + layer.phase[0][i];
        second[i] = b * layer.freq[1][i] + layer.phase[1][i];
    }
    for (uint32_t i = 0; i < n; i += 4) {
        sine4(first.data() + i, firstSines.data() + i);
        sine4(second.data() + i, secondSines.data() + i);
    }
    float s = 0.0f;
    for (uint32_t i = 0; i < n; ++i) {
        const float term = layer.weight[i] * firstSines[i] * secondSines[i] * thirdSines[i];
        s += term;
    }
    return 0.6f + 0.3f * s;
}

float cloudValue(const CloudLayer& layer, float a, float b, float c) {
    std::array<float, kMaxCloudTerms> thirdSines;
    cloudThirdSines(layer, c, thirdSines.data());
    return cloudValueWithThirdSines(layer, a, b, thirdSines.data());
}

void driftCloudLayer(CloudLayer& layer, float amplitude, Random& rng) {
    const auto nudge = [&](float& value) {
        value *= 1.0f + (-amplitude + 2.0f * amplitude * static_cast<float>(rng()) / kRandMax);
    };
    for (uint32_t i = 0; i < layer.termCount; ++i) {
        nudge(layer.weight[i]);
        for (auto& f : layer.freq) nudge(f[i]);
        for (auto& p : layer.phase) nudge(p[i]);
    }
}
