#pragma once
#include <array>
#include <cstdint>
#include <vector>

class Random;

// One colour channel of the nebula: a weighted sum of products of three
// sines with random frequencies and phases. The three layers live for the
// whole process; they are empty until the renderer draws them.
struct CloudLayer {
    uint32_t termCount = 0;
    std::vector<float> weight;
    std::array<std::vector<float>, 3> freq;
    std::array<std::vector<float>, 3> phase;
    float freqMax = 0.0f;
    float freqMin = 0.0f;
};

using CloudLayers = std::array<CloudLayer, 3>;

// Most terms a layer holds: the richest offered density gives 14.
inline constexpr uint32_t kMaxCloudTerms = 14;

// Replaces the layer's terms by n new ones, seven draws per term (weight,
// three frequencies between freqMin and freqMax, three phases in 0..pi), then
// divides every weight by the sum of the squared weights. An n above
// kMaxCloudTerms is held there.
void initCloudLayer(CloudLayer& layer, uint32_t n, Random& rng);

// 0.6 + 0.3 * the layer's sum at (a, b, c); mostly 0.3..0.9, but the weight
// normalisation lets it leave that range.
float cloudValue(const CloudLayer& layer, float a, float b, float c);

// cloudValue with sin(c * freq[2][i] + phase[2][i]) of every term given in
// thirdSines: the picture's third argument is the same for every pixel, so
// its sines are taken once per pass. Gives exactly cloudValue's result.
float cloudValueWithThirdSines(const CloudLayer& layer, float a, float b, const float* thirdSines);

// The sines cloudValueWithThirdSines needs for third argument c.
void cloudThirdSines(const CloudLayer& layer, float c, float* thirdSines);

// The nebula's three layers for the cloud density `clouds`: layer k gets
// density + 2 + k terms with frequencies from 0 up to 25, 30 and 35, drawn
// layer by layer. A stored density beyond the offered 1..10 is held at the
// nearer end: more terms would cost the start-up picture time and memory
// without bound, and a negative one would make no sense as a term count.
void initCloudLayers(CloudLayers& layers, int32_t clouds, Random& rng);

// Multiplies every term value by its own factor in [1 - amplitude, 1 + amplitude],
// one draw per value, term by term. Nothing pulls the values back: over a
// long run the nebula wanders freely.
void driftCloudLayer(CloudLayer& layer, float amplitude, Random& rng);
