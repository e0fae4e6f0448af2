// Star drawing and the star step; read them against memcpy_baseline.cpp's
// copy of one frame of the same size.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "raster/draw_star.h"
#include "raster/splat_table.h"
#include "saver/saver_state.h"
#include "starfield/motion_parameters.h"

namespace {

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;

struct Frame {
    explicit Frame(int32_t format) : bytes(static_cast<size_t>(kWidth) * kHeight * 4) {
        target = FrameTarget{bytes.data(), kWidth * bytesPerPixel(format), kWidth, kHeight, format};
    }
    std::vector<uint8_t> bytes;
    FrameTarget target;
};

// ns per star: args are the anti-aliasing mode and the pixel format.
void BM_DrawStar(benchmark::State& state) {
    const int mode = static_cast<int>(state.range(0));
    Frame frame(static_cast<int32_t>(state.range(1)));
    SplatTable table;
    if (const int n = splatWidthForMode(mode)) table = buildSplatTable(n);
    const StarCanvas canvas{frame.target, table.splatWidth ? &table : nullptr};
    Random rng(7);
    std::vector<std::pair<int64_t, int64_t>> positions(4096);
    for (auto& p : positions) p = {int64_t{rng()} * (kWidth - 10) * 256 / 32767, int64_t{rng()} * (kHeight - 10) * 256 / 32767};
    size_t i = 0;
    for (auto _ : state) {
        const auto& p = positions[i++ & 4095];
        drawStarAt(canvas, p.first, p.second, int64_t{kWidth} * 256, int64_t{kHeight} * 256, 180);
    }
    benchmark::DoNotOptimize(frame.bytes.data());
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()));
}
BENCHMARK(BM_DrawStar)->ArgsProduct({{0, 1, 2, 3, 4, 5}, {22, 23, 24}})->ArgNames({"mode", "format"});

// One steady-state step of 20000 stars at 1920x1080, drawn, per mode.
void BM_StarStep(benchmark::State& state) {
    SaverState saver;
    Settings& s = saver.settings;
    ApplyFallbackDefaults(s);
    s.StarsCount = 20000;
    s.AntiAliase = static_cast<int32_t>(state.range(0));
    StarField& field = saver.starField;
    buildStarField(field, s.StarsCount, PointStar());
    deriveMotionParameters(field, s);
    setViewSize(field, kWidth, kHeight);
    SplatTable table;
    if (const int n = splatWidthForMode(s.AntiAliase)) table = buildSplatTable(n);
    Frame frame(kFormatX8R8G8B8);
    field.view.canvas = StarCanvas{frame.target, table.splatWidth ? &table : nullptr};
    for (int i = 0; i < 300; ++i) stepStarField(field);  // past the fill, into the flight's steady state
    for (auto _ : state) stepStarField(field);
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * 20000);
}
BENCHMARK(BM_StarStep)->DenseRange(0, 5)->ArgName("mode")->Unit(benchmark::kMicrosecond);

void BM_BuildSplatTable(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(buildSplatTable(static_cast<int>(state.range(0))));
}
BENCHMARK(BM_BuildSplatTable)->Arg(2)->Arg(3)->Arg(4)->Arg(6)->Arg(8)->ArgName("N")->Unit(benchmark::kMicrosecond);

// The plain per-sample count for N = 2 (16.8 million tests), the reference
// the fast build is measured against.
void BM_DirectCountSplatTable2(benchmark::State& state) {
    for (auto _ : state) {
        constexpr int n = 2, s = 64 * n, r = 32 * (n - 1);
        std::vector<int32_t> table(n * n * 1024);
        for (int sy = 0; sy < 32; ++sy)
            for (int sx = 0; sx < 32; ++sx) {
                int counts[n * n] = {};
                const int cx = s / 2 + 2 * sx, cy = s / 2 + 2 * sy;
                for (int j = 0; j < s; ++j)
                    for (int i = 0; i < s; ++i)
                        counts[(j / 64) * n + i / 64] += (i - cx) * (i - cx) + (j - cy) * (j - cy) < r * r;
                for (int p = 0; p < n * n; ++p) table[static_cast<size_t>(p * 1024 + sy * 32 + sx)] = counts[p] / 16;
            }
        benchmark::DoNotOptimize(table.data());
    }
}
BENCHMARK(BM_DirectCountSplatTable2)->Unit(benchmark::kMillisecond);

}  // namespace
