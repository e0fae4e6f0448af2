// The saver's frames through the machine's Direct3D 9: the same flight drawn
// by the Direct3D device and by the software device gives the same bytes,
// frame after frame. Without the nebula the Direct3D frame is kept from one
// present to the next and only the last frame's stars are blackened, so a
// back buffer that was not kept would show here as stars left behind.
// Making the device leaves the thread's floating-point precision, with
// which the C library computes the roaming's sines, as it was.
#include <windows.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <vector>

#include "platform/win32/d3d9_device.h"
#include "render/software_device.h"
#include "saver/saver_state.h"
#include "starfield/motion_parameters.h"

namespace {

constexpr int kWidth = 640, kHeight = 480;

HWND makeWindow() {
    WNDCLASSA c = {};
    c.lpfnWndProc = DefWindowProcA;
    c.hInstance = GetModuleHandleA(nullptr);
    c.lpszClassName = "D3d9Frames";
    RegisterClassA(&c);
    return CreateWindowExA(0, "D3d9Frames", "Frames", WS_POPUP | WS_VISIBLE, 0, 0, kWidth, kHeight, nullptr, nullptr,
                           c.hInstance, nullptr);
}

void pump() {
    MSG m;
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&m);
}

std::unique_ptr<SaverState> flight(int32_t antiAlias) {
    auto state = std::make_unique<SaverState>();
    Settings& s = state->settings;
    ApplyFallbackDefaults(s);
    s.StarsCount = 1500;  // few enough that even 8 x 8 splats are erased one by one
    s.AntiAliase = antiAlias;
    s.Clouds = 0;
    buildStarField(state->starField, s.StarsCount, PointStar());
    deriveMotionParameters(state->starField, s);
    return state;
}

void frame(SaverState& state) {
    state.renderer.beginFrame();
    stepStarField(state.starField);
    state.renderer.presentFrame();
}

// A frame's pixel bytes, row by row without the pitch's padding. The
// unused byte of a 32-bit pixel is left out: a Direct3D clear may set it.
std::vector<uint8_t> colourBytes(const uint8_t* pixels, int pitch, int format) {
    const int bytes = bytesPerPixel(format);
    std::vector<uint8_t> colours;
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth * bytes; ++x)
            if (bytes != 4 || x % 4 != 3) colours.push_back(pixels[y * pitch + x]);
    return colours;
}

std::vector<uint8_t> shownBytes(D3d9Device& device, int format) {
    const SurfaceLock lock = device.lock(Surface::Frame);
    std::vector<uint8_t> bytes;
    if (lock.pixels) bytes = colourBytes(lock.pixels, lock.pitch, format);
    device.unlock(Surface::Frame);
    return bytes;
}

// The precision the x87 unit rounds to (bits 8 and 9 of its control word).
int x87Precision() {
    uint16_t control;
    __asm__ volatile("fnstcw %0" : "=m"(control));
    return control >> 8 & 3;
}

// What the roaming asks of the C library, whose x87 code follows that
// precision. The angle is read at run time, so the compiler cannot work the
// results out itself.
std::vector<double> roamingMaths() {
    volatile double angle = 0.2345678901234567;
    return {std::asin(angle), std::sin(angle * 37.0), std::cos(angle * 37.0)};
}

}  // namespace

TEST(D3d9Frames, MakingTheDeviceLeavesTheRoamingsArithmeticAsItWas) {
    const HWND window = makeWindow();
    ASSERT_NE(window, nullptr);
    const int precision = x87Precision();
    const std::vector<double> before = roamingMaths();
    D3d9Device d3d;
    const std::unique_ptr<SaverState> state = flight(0);
    ASSERT_EQ(state->renderer.init(d3d, window, kWidth, kHeight), 0);
    EXPECT_EQ(x87Precision(), precision);
    EXPECT_EQ(roamingMaths(), before);
    state->renderer.release();
    DestroyWindow(window);
}

TEST(D3d9Frames, EveryFrameHasTheSoftwareDevicesBytesInEachMode) {
    const HWND window = makeWindow();
    ASSERT_NE(window, nullptr);
    pump();
    for (const int32_t antiAlias : {0, 2, 5}) {
        SCOPED_TRACE(antiAlias);
        D3d9Device d3d;
        const std::unique_ptr<SaverState> onDevice = flight(antiAlias);
        ASSERT_EQ(onDevice->renderer.init(d3d, window, kWidth, kHeight), 0);
        const int32_t format = onDevice->starField.view.pixelFormat;
        ASSERT_TRUE(isDrawableFormat(format));
        struct Kept final : FrameScreen {
            int32_t format = 0;
            std::vector<uint8_t> bytes;
            void showFrame(const FrameTarget& f) override { bytes = colourBytes(f.row(0), f.pitch, format); }
        } kept;
        kept.format = format;
        const std::vector<uint8_t>& software = kept.bytes;
        SoftwareDevice memory(format, kept);
        const std::unique_ptr<SaverState> inMemory = flight(antiAlias);
        ASSERT_EQ(inMemory->renderer.init(memory, nullptr, kWidth, kHeight), 0);

        bool starsShown = false;
        for (int i = 0; i < 60; ++i) {
            frame(*onDevice);
            frame(*inMemory);
            pump();
            const std::vector<uint8_t> shown = shownBytes(d3d, format);
            ASSERT_EQ(shown.size(), software.size()) << "frame " << i;
            const auto differs = std::mismatch(shown.begin(), shown.end(), software.begin());
            ASSERT_TRUE(differs.first == shown.end())
                << "frame " << i << ", byte " << (differs.first - shown.begin()) << ": " << int{*differs.first}
                << " where the software device has " << int{*differs.second};
            starsShown = starsShown || std::count(shown.begin(), shown.end(), 0) != static_cast<ptrdiff_t>(shown.size());
        }
        EXPECT_TRUE(starsShown);
        EXPECT_TRUE(d3d.frameKept()) << "a present that succeeded keeps the frame";
        onDevice->renderer.release();
        inMemory->renderer.release();
    }
    DestroyWindow(window);
}
