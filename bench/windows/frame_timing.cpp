// Where a frame's time goes on this machine's Direct3D 9: the saver's
// frames in a window over the whole screen, the flight given on the command
// line, each part timed separately.
//   frame_timing [FRAMES] [NAME=VALUE ...]   (defaults: 300 frames,
//   StarsCount=20000 AntiAliase=5 Clouds=10)
// "device copies" are the device's enlargement and its copies into the
// frame; "cloud work" the rest of the frame's start (drifting the layers,
// renewing 1000 cloud pixels); "stars" the flight step that moves and
// draws every star; "present" unlocking and showing the frame.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "platform/win32/d3d9_device.h"
#include "saver/saver_state.h"
#include "settings/settings.h"
#include "starfield/motion_parameters.h"

namespace {

double now() {
    static const double perSecond = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart);
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) / perSecond;
}

// Passes every call on to the real device and adds up the time the copies
// and locks take.
class TimedDevice final : public SurfaceDevice {
public:
    explicit TimedDevice(SurfaceDevice& device) : d_(device) {}
    double copies = 0.0;

    bool openGraphics() override { return d_.openGraphics(); }
    int32_t createPresenter(const void* w, int32_t width, int32_t height) override {
        return d_.createPresenter(w, width, height);
    }
    int32_t displayFormat() override { return d_.displayFormat(); }
    void acquireFrame() override { d_.acquireFrame(); }
    int32_t createCloudImage(int32_t w, int32_t h, int32_t f) override { return d_.createCloudImage(w, h, f); }
    int32_t createEnlargementImages(int32_t w, int32_t h, int32_t f) override {
        return d_.createEnlargementImages(w, h, f);
    }
    int32_t enlargeCloudImage() override { return timed([&] { return d_.enlargeCloudImage(); }); }
    int32_t copyEnlargementToFrame() override { return timed([&] { return d_.copyEnlargementToFrame(); }); }
    void clearFrame() override {
        timed([&] {
            d_.clearFrame();
            return 0;
        });
    }
    bool frameKept() override { return d_.frameKept(); }
    SurfaceLock lock(Surface s) override {
        const double start = now();
        const SurfaceLock l = d_.lock(s);
        copies += now() - start;
        return l;
    }
    int32_t unlock(Surface s) override { return timed([&] { return d_.unlock(s); }); }
    void beginScene() override { d_.beginScene(); }
    void endScene() override { d_.endScene(); }
    int32_t present() override { return d_.present(); }
    void release() override { d_.release(); }

private:
    template <typename F>
    int32_t timed(F f) {
        const double start = now();
        const int32_t r = f();
        copies += now() - start;
        return r;
    }
    SurfaceDevice& d_;
};

void pump() {
    MSG m;
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&m);
}

HWND makeWindow(int width, int height) {
    WNDCLASSA c = {};
    c.lpfnWndProc = DefWindowProcA;
    c.hInstance = GetModuleHandleA(nullptr);
    c.lpszClassName = "FrameTiming";
    RegisterClassA(&c);
    return CreateWindowExA(WS_EX_TOPMOST, "FrameTiming", "Frame timing", WS_POPUP | WS_VISIBLE, 0, 0, width, height,
                           nullptr, nullptr, c.hInstance, nullptr);
}

}  // namespace

int main(int argc, char** argv) {
    int frames = argc >= 2 ? std::atoi(argv[1]) : 300;
    if (frames < 1) frames = 300;
    const auto state = std::make_unique<SaverState>();
    Settings& s = state->settings;
    ApplyFallbackDefaults(s);
    s.StarsCount = 20000;
    s.AntiAliase = 5;
    s.Clouds = 10;
    for (int i = 2; i < argc; ++i) {
        const char* eq = std::strchr(argv[i], '=');
        const std::string name = eq ? std::string(argv[i], static_cast<size_t>(eq - argv[i])) : "";
        const int32_t value = eq ? std::atoi(eq + 1) : 0;
        if (const SettingInfo* setting = findFlightSetting(name)) setting->set(s, value);
    }
    const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    const HWND window = makeWindow(width, height);
    pump();

    StarField& field = state->starField;
    buildStarField(field, s.StarsCount, PointStar());
    deriveMotionParameters(field, s);
    D3d9Device d3d;
    TimedDevice device(d3d);
    const int32_t started = state->renderer.init(device, window, width, height);
    if (started != 0) {
        std::printf("no device: 0x%08X\n", static_cast<unsigned>(started));
        return 1;
    }
    // The field fills over its first frames; time it once it is full.
    for (int i = 0; i < 200; ++i) {
        state->renderer.beginFrame();
        stepStarField(field);
        state->renderer.presentFrame();
        pump();
    }
    double begin = 0, stars = 0, present = 0, beginCopies = 0;
    for (int i = 0; i < frames; ++i) {
        device.copies = 0;
        const double t0 = now();
        state->renderer.beginFrame();
        const double t1 = now();
        beginCopies += device.copies;
        device.copies = 0;
        stepStarField(field);
        const double t2 = now();
        state->renderer.presentFrame();
        const double t3 = now();
        begin += t1 - t0;
        stars += t2 - t1;
        present += t3 - t2;
        pump();
    }
    const double ms = 1000.0 / frames;
    std::printf("%dx%d format %d, %d stars, AntiAliase %d, Clouds %d (nebula %s), %d frames\n", width, height,
                field.view.pixelFormat, s.StarsCount, s.AntiAliase, s.Clouds, state->renderer.nebulaOn() ? "on" : "off",
                frames);
    std::printf("frame %.2f ms: cloud work %.2f, device copies %.2f, stars %.2f, present %.2f\n",
                (begin + stars + present) * ms, (begin - beginCopies) * ms, beginCopies * ms, stars * ms,
                present * ms);
    state->renderer.release();
    DestroyWindow(window);
    return 0;
}
