#pragma once
#include <cstdint>

#include "saver/host_platform.h"
#include "saver/messages.h"
#include "saver/saver_window_handler.h"

// The host shell: makes the saver window and runs its message loop, hands
// the window's messages to the saver (SaverWindowHandler) and applies the
// default handling to what the saver leaves, and decides when the saver
// ends (key, button, mouse movement beyond 4 pixels, focus lost, power
// events; on Windows 95/98/Me only after the system's password check
// agrees). Made for one run, in one mode.
class HostShell final : public WindowProcedure {
public:
    static constexpr int32_t kMouseThreshold = 4;
    static constexpr uint32_t kVerifyInterval = 200;  // ms between password checks
    static constexpr uint32_t kNoVerifyTick = 0xFFFFFFFFu;

    HostShell(HostPlatform& platform, SystemComponents& components, SaverWindowHandler& saver, SaverWindowMode mode)
        : platform_(platform), components_(components), saver_(saver), mode_(mode),
          win9xPlatform_(components.isWin9xPlatform()) {}

    // Makes the saver window and runs it until it closes; the message loop's
    // result. `window`: the preview pane, or the window a hack draws into
    // (0: one of its own); 0 full screen. A second full-screen saver only
    // brings the first to the front; a hack's window that does not exist
    // gives -1.
    int run(WindowHandle window);

    // The window's procedure: what the shell settles itself, then the saver,
    // then the default saver handling.
    intptr_t windowProc(WindowHandle window, const Message& message) override;
    // The default handling of what the saver leaves: the close rules and the
    // password check; the platform default for everything else.
    intptr_t defaultSaverProc(WindowHandle window, const Message& message);

    bool closing() const { return closing_; }

private:
    intptr_t toSaver(WindowHandle window, const Message& message);
    bool verifyPassword(WindowHandle window);
    void loadPasswordVerifier();
    void unloadPasswordVerifier();
    void setScreenSaverRunning(bool running);
    void requestClose(WindowHandle window);
    bool closeRuleApplies(const Message& message);
    // Full screen: the saver owns the screen, the cursor and the input.
    bool ownsScreen() const { return mode_ == SaverWindowMode::FullScreen; }
    bool preview() const { return mode_ == SaverWindowMode::Preview; }

    HostPlatform& platform_;
    SystemComponents& components_;
    SaverWindowHandler& saver_;
    const SaverWindowMode mode_;
    const bool win9xPlatform_;

    bool closing_ = false;
    bool verifying_ = false;
    ScreenPoint startCursor_;
    uint32_t lastVerifyTick_ = kNoVerifyTick;
    uint8_t acLineStatus_ = 255;
    uint32_t autoPlayMessage_ = 0;
    SystemComponents::Library passwordLibrary_ = 0;
    SystemComponents::Procedure passwordVerifier_ = 0;
    SystemComponents::Procedure imeAssociate_ = 0;
    uintptr_t savedImeContext_ = 0;
    bool imeDetached_ = false;
};
