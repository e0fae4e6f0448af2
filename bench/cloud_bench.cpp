// The nebula's costs beside a memcpy of one 32-bit frame of the size it
// serves: the per-frame renewal of 1000 pixels, the start-up picture, and
// the bilinear enlargement into the frame.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "render/enlarger/bilinear_enlarger.h"
#include "render/cloud_image.h"
#include "render/cloud_layer.h"
#include "render/pixel_order.h"
#include "starfield/random.h"

namespace {

constexpr int32_t kClouds = 10;

struct Picture {
    std::vector<uint8_t> bytes;
    FrameTarget target;
    Picture(int32_t width, int32_t height, int32_t format) {
        const int32_t pitch = width * bytesPerPixel(format) + 64;
        bytes.assign(static_cast<size_t>(pitch) * static_cast<size_t>(height), 0);
        target = FrameTarget{bytes.data(), pitch, width, height, format};
    }
};

CloudLayers makeLayers(Random& rng) {
    CloudLayers layers;
    initCloudLayers(layers, kClouds, rng);
    return layers;
}

void BM_CloudRefresh1000(benchmark::State& state) {
    Random rng = Random::seededForSaver();
    const CloudLayers layers = makeLayers(rng);
    Picture picture(1920 / 4, 1080 / 4, kFormatX8R8G8B8);
    PixelOrder order;
    fillCloudImage(picture.target, layers, 0.0f, order, rng);
    float time = 0.0f;
    for (auto _ : state) {
        time += 0.0001f;
        refreshCloudImage(picture.target, 1000, layers, time, order);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_CloudRefresh1000)->Unit(benchmark::kMillisecond);

// Arguments: the frame's size; the picture is a quarter of it.
void BM_CloudFill(benchmark::State& state) {
    Random rng = Random::seededForSaver();
    const CloudLayers layers = makeLayers(rng);
    Picture picture(static_cast<int32_t>(state.range(0)) / 4, static_cast<int32_t>(state.range(1)) / 4,
                    kFormatX8R8G8B8);
    PixelOrder order;
    for (auto _ : state) {
        fillCloudImage(picture.target, layers, 0.0f, order, rng);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_CloudFill)->Args({1920, 1080})->Args({3840, 2160})->Unit(benchmark::kMillisecond);

// Arguments: the frame's size and pixel format.
void BM_CloudEnlarge(benchmark::State& state) {
    const auto width = static_cast<int32_t>(state.range(0));
    const auto height = static_cast<int32_t>(state.range(1));
    const auto format = static_cast<int32_t>(state.range(2));
    Random rng = Random::seededForSaver();
    const CloudLayers layers = makeLayers(rng);
    Picture picture(width / 4, height / 4, format);
    PixelOrder order;
    fillCloudImage(picture.target, layers, 0.0f, order, rng);
    Picture frame(width, height, format);
    BilinearEnlarger enlarger;
    enlarger.prepare(width / 4, height / 4, width, height);
    for (auto _ : state) {
        enlarger.enlarge(picture.target, frame.target);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_CloudEnlarge)
    ->Args({1920, 1080, kFormatX8R8G8B8})
    ->Args({3840, 2160, kFormatX8R8G8B8})
    ->Args({1920, 1080, kFormatR5G6B5})
    ->Args({3840, 2160, kFormatR5G6B5})
    ->Unit(benchmark::kMillisecond);

}  // namespace
