// Picture-mode placement against copying one 1920 x 1080 frame: sampling
// runs for every star placed, and a whole field is at most one frame's worth
// of stars placed in a step. Building a map happens once per picture at start.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "starfield/distribution_map.h"
#include "starfield/distribution_pictures.h"
#include "starfield/level_table.h"
#include "starfield/picture_decoder.h"
#include "starfield/random.h"

namespace {

constexpr int kWidth = 1920, kHeight = 1080;

// A photo-like picture: a smooth gradient with a brighter disc.
Picture gradientPicture() {
    Picture picture{kWidth, kHeight, std::vector<uint8_t>(size_t{kWidth} * kHeight * 3)};
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            const int dx = x - kWidth / 2, dy = y - kHeight / 2;
            const auto v = static_cast<uint8_t>(dx * dx + dy * dy < 300 * 300 ? 250 : (x + y) * 200 / (kWidth + kHeight));
            uint8_t* p = &picture.rgb[(size_t{static_cast<size_t>(y)} * kWidth + static_cast<size_t>(x)) * 3];
            p[0] = p[1] = p[2] = v;
        }
    return picture;
}

// 2500 samples: the placement budget of a 5000-star field.
void BM_Sample2500Stars(benchmark::State& state) {
    const LevelTable levels;
    DistributionMap map;
    buildPictureDistribution(gradientPicture(), levels, map);
    Random rng(41);
    for (auto _ : state)
        for (int i = 0; i < 2500; ++i) benchmark::DoNotOptimize(sampleDistribution(map, levels, rng));
}
BENCHMARK(BM_Sample2500Stars);

void BM_BuildMapFrom1080p(benchmark::State& state) {
    const LevelTable levels;
    const Picture picture = gradientPicture();
    for (auto _ : state) {
        DistributionMap map;
        benchmark::DoNotOptimize(buildPictureDistribution(picture, levels, map));
    }
}
BENCHMARK(BM_BuildMapFrom1080p)->Unit(benchmark::kMillisecond);

}  // namespace
