#pragma once
// The HostPlatform and SaverWindowPlatform seams (saver/host_platform.h,
// saver/saver_window.h) as a native Wayland client: the full-screen saver
// of a Wayland session. Pairs with SdlHost, the same seams on SDL over
// X11; it is the FrameScreen of a SoftwareDevice in kFrameFormat, and runs
// beside SdlSoundPlayer and NoSystemComponents, as SdlHost does.
// Implements: the saver window as one surface per output
// (output_surface.h), the frame spanning the outputs as one screen (the
// size of their bounding rectangle in the compositor's layout, each output
// showing its own part of the same frame), the messages a new window
// receives, the message loop over the compositor's connection and the
// frame timer (frame_timer.h), a frame that falls due while no surface has
// shown the last one held until one has, or until the next tick (the
// compositor's frame callbacks pace the frames within the setting's period,
// which the flight, counted in frames, keeps; input and signals are taken
// meanwhile), SIGTERM and SIGINT as a close request
// (quit_signals.h), key, button and motion as the shell's
// messages (wayland_seat.h), the keyboard focus counted lost only when it
// leaves all the saver's surfaces, no cursor, one saver per user and
// session, outputs that go (the run goes on over the others), come (the
// run ends, as after input: the next one covers the new layout) or change
// their mode or scale (the frame is laid out anew at the new size).
// Leaves out: the settings dialog (main runs it without a host), the preview pane and a daemon's hack (X11 windows: main
// runs those through SdlHost), raising a window (overlay surfaces are
// already above everything), the foreground window of another program,
// and the power status (no power broadcasts exist here, as with SdlHost).
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "platform/linux/session/single_instance.h"
#include "platform/linux/session/window_queue.h"
#include "platform/linux/session/frame_timer.h"
#include "platform/linux/wayland/output_surface.h"
#include "platform/linux/wayland/quit_signals.h"
#include "platform/linux/wayland/wayland_display.h"
#include "platform/linux/wayland/wayland_seat.h"
#include "raster/damage_bands.h"
#include "raster/frame_target.h"
#include "render/frame_screen.h"
#include "saver/host_platform.h"
#include "saver/saver_window.h"

class WaylandHost final : public HostPlatform, public SaverWindowPlatform, public FrameScreen, private InputTarget {
public:
    // The pixel format of every frame: what wl_shm buffers hold as XRGB8888.
    static constexpr int32_t kFrameFormat = kFormatX8R8G8B8;

    WaylandHost();
    ~WaylandHost() override;
    WaylandHost(const WaylandHost&) = delete;
    WaylandHost& operator=(const WaylandHost&) = delete;

    // False when there is no compositor to draw on.
    bool connected() const { return display_.connected(); }
    // Why the run could not begin, or ended by a fault, in one line for
    // main to print; empty when neither happened.
    std::string failure() const;

    // The one output's free buffer to draw the next frame in, the one that
    // holds the last frame where the compositor gave it back, when a single
    // output shows the whole frame (SoftwareDevice::LendFrame); empty
    // otherwise, and the frame is drawn in memory of the device's own.
    FrameTarget lendFrame(int32_t width, int32_t height, int32_t format) override;

    // Whether the buffer lent for this frame holds the last frame shown,
    // made so where it held the one before (output_surface.h).
    bool lentFrameIsLast() override;

    // Shows a finished frame (the software device's present) on every
    // output at once, or, while an output's compositor still reads both of
    // its buffers, on none: the outputs never show different frames.
    void showFrame(const FrameTarget& frame) override;
    // The same, each output told only of the parts that changed, in a few
    // rectangles (damage_bands.h).
    void showChanged(const FrameTarget& frame, FrameDamage& changed) override;

    // HostPlatform
    bool isWindow(WindowHandle window) override { return window != 0 && window == queue_.window(); }
    WindowHandle foregroundWindow() override;
    void setForegroundWindow(WindowHandle) override {}
    WindowHandle parentOf(WindowHandle) override { return 0; }
    WindowHandle findRunningSaver() override;
    // The other instance took the request to come forward (0), or not (1).
    int raiseRunningSaver(WindowHandle) override { return instance_.handOverResult(); }
    ScreenRect virtualScreen() override { return display_.bounds(); }
    ScreenRect screenClipBox() override;
    ScreenRect clientRect(WindowHandle window) override;
    WindowHandle createSaverWindow(const SaverWindowLayout& layout, WindowProcedure& procedure) override;
    int runMessageLoop() override;
    void postQuit(int code) override;
    intptr_t defaultWindowProc(WindowHandle window, const Message& message) override;
    void postMessage(WindowHandle window, const Message& message) override;
    intptr_t sendMessage(WindowHandle window, const Message& message) override;
    void removePendingTimers(WindowHandle, int) override;
    uint32_t registerMessage(std::string_view) override { return 0; }
    ScreenPoint cursorPosition() override;
    void hideCursor() override;
    uint32_t tickCount() override { return FrameTimer::now(); }
    void yieldTimeSlice() override;
    uint8_t acLineStatus() override { return 255; }

    // SaverWindowPlatform
    ScreenRect windowRect(WindowHandle window) override { return clientRect(window); }
    uint32_t setTimer(WindowHandle window, uint32_t id, uint32_t periodMs) override;
    void killTimer(WindowHandle window, uint32_t id) override;
    void loadPreviewPicture() override {}
    void paintPreviewPicture(WindowHandle) override {}

private:
    static constexpr WindowHandle kSaverWindow = 1;
    static constexpr WindowHandle kRunningSaver = 2;  // the other instance, as a handle

    // InputTarget
    bool surfaceOrigin(wl_surface* surface, ScreenPoint& origin) override;
    void inputMessage(const Message& message) override;

    bool anySeatFocus(WaylandSeat::Focus focus) const;
    bool waitAndDispatch();
    void followOutputs();
    void followLayout();
    void followFocus();
    void closeWindow();
    void connectionLost();
    bool compositorShowedLastFrame() const;
    void present(const FrameTarget& frame, std::span<const FrameDamage::Rect> changed, bool whole);

    WaylandDisplay display_;
    std::vector<std::unique_ptr<WaylandSeat>> seats_;
    std::vector<std::unique_ptr<OutputSurface>> surfaces_;
    std::vector<uint32_t> removedOutputs_;  // by registry name, until their surfaces go
    bool outputAdded_ = false;
    std::string failure_;
    WindowQueue queue_;  // the saver window while it exists, and its messages
    ScreenRect frame_;                      // the frame's rectangle in the layout
    FrameTimer timer_;
    uint32_t timerId_ = 0;
    bool frameDue_ = false;  // a tick came while no surface had shown the last frame
    FrameChange last_;        // the last frame handed over, its changed parts in lastChanged_
    std::vector<FrameDamage::Rect> lastChanged_;
    DamageBands bands_;
    QuitSignals signals_;
    uint32_t focusLeftAt_ = 0;  // when it left the saver's surfaces; meaningful while focusLeaving_
    bool focusLeaving_ = false;
    bool focusLostSent_ = false;
    bool closeAsked_ = false;      // the compositor asked a window to close
    bool frameMissed_ = false;     // the last frame was shown on no output
    SingleInstance instance_;
};
