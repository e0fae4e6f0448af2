#pragma once
#include <cstdint>
#include <string_view>

#include "saver/command_line.h"
#include "saver/host_platform.h"
#include "saver/messages.h"

// Whoever handles the saver window's own messages (the saver window logic).
class SaverWindowHandler {
public:
    virtual ~SaverWindowHandler() = default;
    virtual intptr_t saverWindowProc(WindowHandle window, const Message& message) = 0;
};

// The host shell: reads the mode, makes and drives the saver window, and
// decides when the saver ends (key, button, mouse movement beyond 4 pixels,
// focus lost, power events; on Windows 95/98/Me only after the system's
// password check agrees).
class HostShell {
public:
    static constexpr int32_t kMouseThreshold = 4;
    static constexpr uint32_t kVerifyInterval = 200;  // ms between password checks
    static constexpr uint32_t kNoVerifyTick = 0xFFFFFFFFu;

    HostShell(HostPlatform& platform, SystemComponents& components, SaverWindowHandler& handler)
        : platform_(platform), components_(components), handler_(handler) {}

    int saverMain(const SaverCommand& command);
    int runSaver(WindowHandle parent);
    // Runs the flight as a screen-saver daemon's hack: into `target`, or
    // into a resizable window of its own when 0. The daemon owns input:
    // nothing but a close request or the window going away ends it.
    int runHack(WindowHandle target);
    intptr_t hostWindowProc(WindowHandle window, const Message& message);
    intptr_t defaultSaverProc(WindowHandle window, const Message& message);
    bool verifyPassword(WindowHandle window);
    void loadPasswordVerifier();
    void unloadPasswordVerifier();
    void setScreenSaverRunning(bool running);
    void changePassword(WindowHandle window);

    bool win9xPlatform() const { return win9xPlatform_; }
    bool previewMode() const { return previewMode_; }
    bool hackMode() const { return hackMode_; }
    bool closing() const { return closing_; }
    ScreenPoint startCursor() const { return startCursor_; }
    WindowHandle saverWindow() const { return saverWindow_; }

private:
    void requestClose(WindowHandle window);
    bool closeRuleApplies(const Message& message);
    // Full screen: the saver owns the screen, the cursor and the input.
    bool ownsScreen() const { return !previewMode_ && !hackMode_; }

    HostPlatform& platform_;
    SystemComponents& components_;
    SaverWindowHandler& handler_;

    bool win9xPlatform_ = false;
    bool previewMode_ = false;
    bool hackMode_ = false;
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
    WindowHandle saverWindow_ = 0;
};
