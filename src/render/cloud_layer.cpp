#include "render/cloud_layer.h"

#include <algorithm>
#include <cmath>

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

void cloudThirdSines(const CloudLayer& layer, float c, float* thirdSines) {
    for (uint32_t i = 0; i < layer.termCount; ++i)
        thirdSines[i] = std::sin(c * layer.freq[2][i] + layer.phase[2][i]);
}

float cloudValueWithThirdSines(const CloudLayer& layer, float a, float b, const float* thirdSines) {
    float s = 0.0f;
    for (uint32_t i = 0; i < layer.termCount; ++i) {
        // Each term is a float before it is added, whatever precision the
        // products were formed in.
        const float term = layer.weight[i] * std::sin(a * layer.freq[0][i] + layer.phase[0][i]) *
                           std::sin(b * layer.freq[1][i] + layer.phase[1][i]) * thirdSines[i];
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
