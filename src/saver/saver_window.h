#pragma once
#include <cstdint>
#include <vector>

#include "saver/command_line.h"
#include "saver/frame_rate_display.h"
#include "saver/host_platform.h"
#include "saver/messages.h"
#include "saver/saver_window_handler.h"

class FolderSystem;
class PictureDecoder;
class SoundPlayer;
class Store;
class SurfaceDevice;
struct SaverState;

// Where a preview pane shows the preview picture (150 x 113): the area at
// the top left blackened first, then the picture drawn at (1, 0).
inline constexpr ScreenRect kPreviewArea{0, 0, 152, 113};
inline constexpr ScreenRect kPreviewPicture{1, 0, 150, 113};

// What the saver window needs of the windowing system besides the shell's
// operations: its size, the frame timer, the preview picture, and ending
// the run.
class SaverWindowPlatform {
public:
    virtual ~SaverWindowPlatform() = default;
    virtual ScreenRect windowRect(WindowHandle window) = 0;
    // A periodic timer message; returns the timer's id, 0 when none was made.
    virtual uint32_t setTimer(WindowHandle window, uint32_t id, uint32_t periodMs) = 0;
    virtual void killTimer(WindowHandle window, uint32_t id) = 0;
    virtual void loadPreviewPicture() = 0;
    // Blackens kPreviewArea and draws the preview picture, when one is
    // loaded, at kPreviewPicture.
    virtual void paintPreviewPicture(WindowHandle window) = 0;
    // Ends the message loop; `code` becomes its result, the run's exit code
    // (HostPlatform::postQuit, which a host implements once for both).
    virtual void postQuit(int code) = 0;
};

// The services a saver run draws on, each behind its seam.
struct SaverServices {
    SaverWindowPlatform& window;
    SurfaceDevice& device;
    SoundPlayer& sound;
    Store& store;
    FolderSystem& folders;
    PictureDecoder& pictures;
};

// The saver's own window logic: at creation it loads the settings, starts
// the sound, builds the star field and starts the frame timer; the first
// erase makes the renderer; every tick draws one frame; destruction stops
// sound and timer. A renderer that cannot start ends the run with its
// result as the exit code. A preview window only shows its picture. A
// daemon's hack may set picture parameters for its run and show its frame
// rate, and its frame follows the size of the window it draws into; a
// full-screen frame follows the screen's when the host says it changed.
class SaverWindow final : public SaverWindowHandler {
public:
    static constexpr uint32_t kFrameTimerId = 1;

    // `overrides`: a hack's picture parameters, set after the stored
    // settings are read at creation; never stored. `showFrameRate`: a
    // hack's -fps, the frame rate drawn into every frame.
    SaverWindow(SaverState& state, SaverServices services, SaverWindowMode mode,
                std::vector<SettingOverride> overrides = {}, bool showFrameRate = false)
        : state_(state), services_(services), mode_(mode), overrides_(std::move(overrides)),
          showFrameRate_(showFrameRate) {}

    // Creation, erasing, ticks, a new size and destruction are its
    // own; painting (after the preview's picture) and everything else go on
    // to the default saver handling.
    bool handle(WindowHandle window, const Message& message) override;

private:
    void create(WindowHandle window);
    void startRenderer(WindowHandle window);
    void followSize(WindowHandle window);

    SaverState& state_;
    SaverServices services_;
    const SaverWindowMode mode_;
    const std::vector<SettingOverride> overrides_;
    const bool showFrameRate_;
    FrameRateDisplay frameRate_;
    uint32_t frameTimer_ = 0;
    WindowHandle rendererWindow_ = 0;  // set by the first erase, whether the renderer started or not
    bool rendererRunning_ = false;
};

// The frame timer's period for a Smoothness value: 100 - Smoothness ms,
// where the platform raises 0 (and less) to its shortest period.
uint32_t frameTimerPeriod(int32_t smoothness);
