// What showing a frame costs the Linux host beyond drawing it, beside a
// memcpy of the same frame. Runs on SDL's dummy video driver, so it
// needs no display and measures the CPU's own work up to the hand-over.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "platform/linux/x11/sdl_frame_presenter.h"

namespace {

void BM_SdlFrameDelivery(benchmark::State& state) {
    const auto width = static_cast<int>(state.range(0)), height = static_cast<int>(state.range(1));
    SDL_SetHint(SDL_HINT_VIDEODRIVER, "dummy");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        state.SkipWithError("no SDL video");
        return;
    }
    SDL_Window* window = SDL_CreateWindow("bench", 0, 0, width, height, SDL_WINDOW_HIDDEN);
    SDL_Surface* surface = window ? SDL_GetWindowSurface(window) : nullptr;
    if (!surface) {
        state.SkipWithError("no SDL window surface");
    } else {
        // A frame in the window's own format, as the display's format gives it.
        const int32_t format = surface->format->format == SDL_PIXELFORMAT_RGB888 ? kFormatX8R8G8B8 : kFormatA8R8G8B8;
        std::vector<uint8_t> pixels(static_cast<size_t>(width) * height * 4, 40);
        const FrameTarget frame{pixels.data(), width * 4, width, height, format};
        SdlFramePresenter presenter(window);
        for (auto _ : state) presenter.show(frame);
    }
    if (window) SDL_DestroyWindow(window);
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
}
BENCHMARK(BM_SdlFrameDelivery)->Args({1920, 1080})->Unit(benchmark::kMillisecond);

}  // namespace
