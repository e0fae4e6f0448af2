// What showing a frame costs beyond drawing it, whole and in its changed
// parts, on the X server DISPLAY names (skipped without one): a 1920x1080
// frame at defaults changes some 700 16-pixel cells. Real time counts the
// server's work too, since each show waits for the server to finish it.
#include <X11/Xlib.h>
#include <benchmark/benchmark.h>

#include <vector>

#include "platform/linux/x11/x11_frame_presenter.h"

namespace {

void BM_X11FrameDelivery(benchmark::State& state) {
    const auto width = static_cast<int32_t>(state.range(0)), height = static_cast<int32_t>(state.range(1));
    const bool whole = state.range(2) == 0;
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        state.SkipWithError("no X display");
        return;
    }
    const Window window = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, static_cast<unsigned>(width),
                                              static_cast<unsigned>(height), 0, 0, 0);
    XMapWindow(display, window);
    {
        X11FramePresenter presenter(display, window);
        const FrameTarget frame = presenter.lend(width, height, kFormatX8R8G8B8);
        // Scattered cells, one in twelve, as the last and the new stars of a
        // default frame mark them.
        std::vector<FrameDamage::Rect> changed;
        for (int32_t top = 0; top + 16 <= height; top += 16)
            for (int32_t left = (top / 16 * 5) % 192; left + 16 <= width; left += 192) changed.push_back({left, top, 16, 16});
        if (frame.empty()) state.SkipWithError("no image in the frame's format");
        else
            for (auto _ : state) presenter.show(frame, changed, whole);
        state.counters["parts"] = whole ? 1 : static_cast<double>(changed.size());
    }
    XDestroyWindow(display, window);
    XCloseDisplay(display);
}
BENCHMARK(BM_X11FrameDelivery)
    ->ArgNames({"w", "h", "changed"})
    ->Args({1920, 1080, 0})
    ->Args({1920, 1080, 1})
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace
