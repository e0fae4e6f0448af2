#pragma once
// The HostPlatform and SaverWindowPlatform seams (saver/host_platform.h,
// saver/saver_window.h) on SDL2, where the Windows build has Win32Host; the
// FrameScreen of the SoftwareDevice it runs with (lendFrame offers the
// window's image to draw in, showFrame and showChanged show frames through
// its X11FramePresenter), beside SdlSoundPlayer and NoSystemComponents.
// Implements: the saver window (one borderless window over every monitor,
// the preview pane given by its X11 number, ended when the pane goes, or as
// a daemon's hack the daemon's window or a resizable one of its own), the
// messages a new window receives, the message loop that turns key, button,
// motion, focus-lost, quit, resize and expose events into the host shell's
// messages, sleeping in one wait between them (the X11 connections, the
// frame timer, the ending signals, the single-instance socket), one frame
// timer (at most one tick waiting), the cursor from X11
// (its position) and SDL (hiding it), the AC line from SDL's power state,
// one saver per user and display, and the active window from X11 as the
// foreground one.
// Leaves out: the settings dialog (main runs it from its module, without
// SDL), power broadcasts, input methods and the password component.
#include <SDL.h>

#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "raster/frame_target.h"
#include "render/frame_screen.h"
#include "saver/host_platform.h"
#include "saver/saver_window.h"
#include "platform/linux/session/frame_timer.h"
#include "platform/linux/session/single_instance.h"
#include "platform/linux/session/window_queue.h"
#include "platform/linux/x11/x11_frame_presenter.h"
#include "platform/linux/x11/x11_windows.h"

class SdlHost final : public HostPlatform, public SaverWindowPlatform, public FrameScreen {
public:
    // `previewPicture`: the preview bitmap as a BMP file image.
    explicit SdlHost(std::span<const uint8_t> previewPicture);
    ~SdlHost() override;
    SdlHost(const SdlHost&) = delete;
    SdlHost& operator=(const SdlHost&) = delete;

    // The display's pixel format code, as every frame surface must have it.
    static int32_t desktopFormat();

    // FrameScreen: the window's surface to draw a frame in, when it fits
    // (the software device's loan), and a finished frame shown (its present).
    FrameTarget lendFrame(int32_t width, int32_t height, int32_t format) override;
    void showFrame(const FrameTarget& frame) override;
    // Only the changed parts, while the window still shows the last frame
    // (not since it was shown, exposed or resized).
    void showChanged(const FrameTarget& frame, FrameDamage& changed) override;

    // Why the run could not begin, or ended by a fault, in one line for
    // main to print; empty when neither happened.
    const std::string& failure() const { return failure_; }

    // The default screen's root window, where a hack draws without a daemon.
    WindowHandle rootWindow() { return x11_.root(); }

    // HostPlatform
    bool isWindow(WindowHandle window) override;
    WindowHandle foregroundWindow() override { return x11_.active(); }
    void setForegroundWindow(WindowHandle window) override;
    WindowHandle parentOf(WindowHandle window) override;
    WindowHandle findRunningSaver() override;
    // The other instance took the request to come forward (0), or not (1).
    int raiseRunningSaver(WindowHandle) override { return instance_.handOverResult(); }
    ScreenRect virtualScreen() override;
    ScreenRect screenClipBox() override;
    ScreenRect clientRect(WindowHandle window) override;
    WindowHandle createSaverWindow(const SaverWindowLayout& layout, WindowProcedure& procedure) override;
    int runMessageLoop() override;
    void postQuit(int code) override;
    intptr_t defaultWindowProc(WindowHandle window, const Message& message) override;
    void postMessage(WindowHandle window, const Message& message) override;
    intptr_t sendMessage(WindowHandle window, const Message& message) override;
    void removePendingTimers(WindowHandle, int) override { timer_.takeTick(); }
    uint32_t registerMessage(std::string_view) override { return 0; }
    ScreenPoint cursorPosition() override;
    void hideCursor() override;
    uint32_t tickCount() override { return SDL_GetTicks(); }
    void yieldTimeSlice() override;
    uint8_t acLineStatus() override;

    // SaverWindowPlatform
    ScreenRect windowRect(WindowHandle window) override;
    uint32_t setTimer(WindowHandle window, uint32_t id, uint32_t periodMs) override;
    void killTimer(WindowHandle window, uint32_t id) override;
    void loadPreviewPicture() override;
    void paintPreviewPicture(WindowHandle window) override;

private:
    static constexpr WindowHandle kRunningSaver = 1;  // the other instance, as a handle

    bool takeEvent(SDL_Event& event);
    void waitAndFollow();
    void dispatch(const SDL_Event& event);
    void destroyWindow();
    bool attachToPane();
    void followPane();
    bool drawableSize(int32_t width, int32_t height);
    void endTooLarge();

    std::span<const uint8_t> previewBytes_;
    SDL_Window* window_ = nullptr;
    SDL_Renderer* renderer_ = nullptr;
    std::unique_ptr<X11FramePresenter> presenter_;
    SDL_Texture* previewTexture_ = nullptr;
    WindowHandle parent_ = 0;   // the preview pane or the hack's window; 0 for a window of our own
    bool hack_ = false;
    int32_t paneWidth_ = 0, paneHeight_ = 0;  // the hack's window as last seen
    void* xDisplay_ = nullptr;  // SDL's X11 connection (Display*), while the window exists
    FrameTimer timer_;
    uint32_t timerId_ = 0;
    std::string failure_;
    WindowQueue queue_;  // our window (its number) and its messages
    bool signalClosed_ = false;  // the close a SIGTERM or SIGINT asked for was delivered
    bool shownWhole_ = false;    // the window shows the last frame handed to it, every pixel
    SingleInstance instance_;
    X11Windows x11_;
};
