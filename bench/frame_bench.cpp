// One whole saver frame through the renderer and the software device: the
// nebula's renewal and enlargement, 20000 stars in the "Blurred" mode, and
// the present; beside a memcpy of one frame of the same size.
#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>
#include <vector>

#include "render/software_device.h"
#include "saver/flight.h"
#include "saver/frame_tick.h"
#include "saver/saver_state.h"
#include "starfield/picture_decoder.h"

namespace {

// Arguments: the frame's size and the Clouds setting.
void BM_WholeFrame(benchmark::State& state) {
    auto saver = std::make_unique<SaverState>();
    Settings& settings = saver->settings;
    ApplyFallbackDefaults(settings);
    settings.StarsCount = 20000;
    settings.AntiAliase = 5;
    settings.Clouds = static_cast<int32_t>(state.range(2));
    prepareFlight(*saver, *makePlatformPictureDecoder());
    struct : FrameScreen {
        void showFrame(const FrameTarget& frame) override { benchmark::DoNotOptimize(frame.pixels); }
    } screen;
    SoftwareDevice device(kFormatX8R8G8B8, screen);
    if (saver->renderer.init(device, nullptr, static_cast<int32_t>(state.range(0)), static_cast<int32_t>(state.range(1))) != 0) {
        state.SkipWithError("the renderer could not start");
        return;
    }
    for (int i = 0; i < 10; ++i) runFrame(*saver);  // every star in flight
    for (auto _ : state) runFrame(*saver);
    state.counters["stars"] = static_cast<double>(saver->starField.starCount);
    saver->renderer.release();
}
BENCHMARK(BM_WholeFrame)
    ->Args({1920, 1080, 10})
    ->Args({3840, 2160, 10})
    ->Args({1920, 1080, 0})
    ->Unit(benchmark::kMillisecond);

}  // namespace
