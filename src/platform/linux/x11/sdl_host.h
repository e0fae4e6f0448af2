#pragma once
// The HostPlatform and SaverWindowPlatform seams (saver/host_platform.h,
// saver/saver_window.h) on SDL2, where the Windows build has Win32Host. Pair
// it with SoftwareDevice (lendFrame offers it the window's own surface to
// draw in, showFrame shows its frames through an SdlFramePresenter),
// SdlSoundPlayer and NoSystemComponents.
// Implements: the saver window (one borderless window over every monitor,
// the preview pane given by its X11 number, ended when the pane goes, or as
// a daemon's hack the daemon's window or a resizable one of its own), the
// messages a new window receives, the message loop that turns key, button,
// motion, focus-lost, quit, resize and expose events into the host shell's
// messages, one frame timer (at most one tick waiting), the cursor from X11
// (its position) and SDL (hiding it), the AC line from SDL's power state,
// one saver per user and display, the active window from X11 as the
// foreground one, and the settings dialog from its module
// (settings_module/settings_mode.h), which needs no SDL: main starts SDL
// only for the other modes.
// Leaves out: power broadcasts, input methods and the password component.
#include <SDL.h>

#include <atomic>
#include <cstdint>
#include <deque>
#include <memory>
#include <span>
#include <utility>

#include "raster/frame_target.h"
#include "saver/host_platform.h"
#include "saver/saver_window.h"
#include "platform/linux/x11/sdl_frame_presenter.h"
#include "platform/linux/session/single_instance.h"
#include "platform/linux/x11/x11_windows.h"

class SdlHost final : public HostPlatform, public SaverWindowPlatform {
public:
    // `previewPicture`: the preview bitmap as a BMP file image.
    explicit SdlHost(std::span<const uint8_t> previewPicture);
    ~SdlHost() override;
    SdlHost(const SdlHost&) = delete;
    SdlHost& operator=(const SdlHost&) = delete;

    // The display's pixel format code, as every frame surface must have it.
    static int32_t desktopFormat();

    // The window's surface to draw a frame in, when it fits (the software
    // device's loan), and a finished frame shown (its present).
    FrameTarget lendFrame(int32_t width, int32_t height, int32_t format);
    void showFrame(const FrameTarget& frame);

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
    void removePendingTimers(WindowHandle window, int count) override;
    uint32_t registerMessage(std::string_view) override { return 0; }
    ScreenPoint cursorPosition() override;
    void hideCursor() override;
    uint32_t tickCount() override { return SDL_GetTicks(); }
    void yieldTimeSlice() override { SDL_Delay(0); }
    uint8_t acLineStatus() override;
    int showConfigureDialog(WindowHandle owner) override;

    // SaverWindowPlatform
    ScreenRect windowRect(WindowHandle window) override;
    uint32_t setTimer(WindowHandle window, uint32_t id, uint32_t periodMs) override;
    void killTimer(WindowHandle window, uint32_t id) override;
    void loadPreviewPicture() override;
    void paintPreviewPicture(WindowHandle window) override;

private:
    static constexpr WindowHandle kRunningSaver = 1;  // the other instance, as a handle
    static uint32_t timerFired(uint32_t interval, void* host);

    void dispatch(const SDL_Event& event);
    void deliver(const Message& message);
    void destroyWindow();
    bool attachToPane();
    void followPane();
    bool drawableSize(int32_t width, int32_t height);
    void endTooLarge();

    WindowProcedure* procedure_ = nullptr;  // the window's, from its creation on
    std::span<const uint8_t> previewBytes_;
    SDL_Window* window_ = nullptr;
    SDL_Renderer* renderer_ = nullptr;
    std::unique_ptr<SdlFramePresenter> presenter_;
    SDL_Texture* previewTexture_ = nullptr;
    WindowHandle handle_ = 0;   // our window's number
    WindowHandle parent_ = 0;   // the preview pane or the hack's window; 0 for a window of our own
    bool hack_ = false;
    int32_t paneWidth_ = 0, paneHeight_ = 0;  // the hack's window as last seen
    SDL_TimerID timer_ = 0;
    uint32_t timerId_ = 0;
    uint32_t timerEvent_ = 0;
    std::atomic<bool> tickPending_{false};
    std::deque<std::pair<WindowHandle, Message>> posted_;
    bool signalClosed_ = false;  // the close a SIGTERM or SIGINT asked for was delivered
    bool quit_ = false;
    int quitCode_ = 0;
    SingleInstance instance_;
    X11Windows x11_;
};
