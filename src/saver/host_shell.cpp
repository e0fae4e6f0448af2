#include "saver/host_shell.h"

#include <cstdlib>

int HostShell::run(WindowHandle window) {
    SaverWindowLayout layout;
    layout.parent = window;
    switch (mode_) {
    case SaverWindowMode::FullScreen:
        layout.rect = platform_.virtualScreen();
        if (layout.rect.width == 0 || layout.rect.height == 0) layout.rect = platform_.screenClipBox();
        layout.title = "Screen Saver";
        if (const WindowHandle running = platform_.findRunningSaver()) return platform_.raiseRunningSaver(running);
        acLineStatus_ = platform_.acLineStatus();
        loadPasswordVerifier();
        break;
    case SaverWindowMode::Preview: {
        const ScreenRect client = platform_.clientRect(window);
        layout.rect = {0, 0, client.width, client.height};
        layout.title = "Preview";
        break;
    }
    case SaverWindowMode::Hack:
        layout.hack = true;
        layout.title = "Lumara";
        layout.rect = {0, 0, 800, 600};
        if (window != 0) {
            if (!platform_.isWindow(window)) return -1;
            const ScreenRect client = platform_.clientRect(window);
            layout.rect = {0, 0, client.width, client.height};
        }
        break;
    }
    autoPlayMessage_ = win9xPlatform_ ? platform_.registerMessage("QueryCancelAutoPlay") : 0;

    // A full-screen or preview window that cannot be made ends the run
    // quietly; a hack says so in its exit code.
    int code = mode_ == SaverWindowMode::Hack ? -1 : 0;
    const WindowHandle saverWindow = platform_.createSaverWindow(layout, *this);
    if (saverWindow != 0) {
        if (ownsScreen()) platform_.setForegroundWindow(saverWindow);
        code = platform_.runMessageLoop();
    }
    unloadPasswordVerifier();
    return code;
}

intptr_t HostShell::windowProc(WindowHandle window, const Message& m) {
    switch (m.id) {
    case msg::kCreate:
        if (const auto imm = components_.loadedModule("IMM32.DLL")) {
            imeAssociate_ = components_.findProcedure(imm, "ImmAssociateContext");
            if (imeAssociate_) {
                savedImeContext_ = components_.callImmAssociateContext(imeAssociate_, window, 0);
                imeDetached_ = true;
            }
        }
        startCursor_ = platform_.cursorPosition();
        if (ownsScreen()) platform_.hideCursor();
        return toSaver(window, m);
    case msg::kDestroy:
        if (imeDetached_) components_.callImmAssociateContext(imeAssociate_, window, savedImeContext_);
        platform_.postQuit(0);
        return toSaver(window, m);
    case msg::kSetText: return 0;
    case msg::kPaint:
        if (closing_) return platform_.defaultWindowProc(window, m);
        if (ownsScreen()) platform_.hideCursor();
        return toSaver(window, m);
    case msg::kHelp:
    case msg::kContextMenu:
        if (preview()) {
            const WindowHandle parent = platform_.parentOf(window);
            if (parent != 0) platform_.postMessage(parent, Message{m.id, parent, m.lParam});
            return 1;
        }
        return toSaver(window, m);
    case msg::kKeyDown:
    case msg::kSysKeyDown:
    case msg::kMouseMove:
    case msg::kLButtonDown:
    case msg::kRButtonDown:
    case msg::kMButtonDown:
        if (closing_) return platform_.defaultWindowProc(window, m);
        return toSaver(window, m);
    case msg::kTimer:
        if (closing_) return 0;
        platform_.yieldTimeSlice();
        return toSaver(window, m);
    case msg::kSysCommand:
        if (!preview() &&
            (m.wParam == msg::kScNextWindow || m.wParam == msg::kScPrevWindow || m.wParam == msg::kScScreenSave))
            return 0;
        return toSaver(window, m);
    default: return toSaver(window, m);
    }
}

// The saver answers 1 to every message, also to those it leaves to the
// default handling; only the password check's answer is passed back, so a
// refused password keeps the saver open.
intptr_t HostShell::toSaver(WindowHandle window, const Message& m) {
    if (saver_.handle(window, m)) return 1;
    const intptr_t answer = defaultSaverProc(window, m);
    return m.id == msg::kVerifyRequest ? answer : 1;
}

void HostShell::requestClose(WindowHandle window) { platform_.postMessage(window, Message{msg::kClose, 0, 0}); }

// The close rules that post a close request for this message; true when one was posted.
bool HostShell::closeRuleApplies(const Message& m) {
    switch (m.id) {
    case msg::kKeyDown:
    case msg::kSysKeyDown:
    case msg::kLButtonDown:
    case msg::kRButtonDown:
    case msg::kMButtonDown: return true;
    case msg::kActivateApp: return m.wParam == 0;
    case msg::kPower: return m.wParam == msg::kPowerSuspendRequest;
    case msg::kMouseMove: {
        const ScreenPoint p = platform_.cursorPosition();
        const int64_t moved = std::llabs(int64_t{p.x} - startCursor_.x) + std::llabs(int64_t{p.y} - startCursor_.y);
        if (moved <= kMouseThreshold) return false;
        startCursor_ = p;
        return true;
    }
    case msg::kPowerBroadcast: {
        const uintptr_t event = m.wParam;
        if (event == msg::kPowerStatusChange) {
            const uint8_t now = platform_.acLineStatus();
            const bool changed = now != acLineStatus_;
            acLineStatus_ = now;
            return changed;
        }
        const bool resume = event == msg::kPowerResumeCritical || event == msg::kPowerResumeSuspend ||
                            event == msg::kPowerResumeStandby || event == msg::kPowerResumeAutomatic;
        return !resume || (m.lParam & msg::kPowerResumeFromFailure) == 0;
    }
    default: return false;
    }
}

intptr_t HostShell::defaultSaverProc(WindowHandle window, const Message& m) {
    if (ownsScreen() && !closing_) {
        if (m.id == msg::kClose) {
            if (win9xPlatform_ && !verifyPassword(window)) {
                startCursor_ = platform_.cursorPosition();
                return 0;
            }
            return platform_.defaultWindowProc(window, m);
        }
        if (m.id == msg::kVerifyRequest && win9xPlatform_)
            return passwordVerifier_ ? components_.callVerifyScreenSavePwd(passwordVerifier_, window) : 1;
        if (!verifying_) {
            if (closeRuleApplies(m)) requestClose(window);
            if (m.id == msg::kShowWindow && m.wParam != 0) platform_.hideCursor();
            if (m.id == msg::kSetCursor) {
                platform_.hideCursor();
                return 1;
            }
        }
    }
    if (autoPlayMessage_ != 0 && m.id == autoPlayMessage_) {
        // Cancels a newly inserted disc's automatic playback only while a
        // password protects the saver.
        requestClose(window);
        return passwordVerifier_ ? 1 : 0;
    }
    return platform_.defaultWindowProc(window, m);
}

bool HostShell::verifyPassword(WindowHandle window) {
    if (verifying_ || closing_) return false;
    if (!passwordVerifier_) {
        closing_ = true;
        return closing_;
    }
    const uint32_t now = platform_.tickCount();
    if (lastVerifyTick_ != kNoVerifyTick && now - lastVerifyTick_ < kVerifyInterval) return closing_;
    verifying_ = true;
    platform_.removePendingTimers(window, 2);
    closing_ = platform_.sendMessage(window, Message{msg::kVerifyRequest, 0, 0}) != 0;
    verifying_ = false;
    if (!closing_) platform_.hideCursor();
    lastVerifyTick_ = platform_.tickCount();
    return closing_;
}

void HostShell::loadPasswordVerifier() {
    if (!win9xPlatform_) return;
    if (passwordLibrary_) unloadPasswordVerifier();
    uint32_t usePassword = 0;
    if (!components_.screenSaveUsePassword(usePassword) || usePassword == 0) return;
    passwordLibrary_ = components_.loadLibrary("PASSWORD.CPL");
    if (!passwordLibrary_) return;
    passwordVerifier_ = components_.findProcedure(passwordLibrary_, "VerifyScreenSavePwd");
    if (passwordVerifier_) setScreenSaverRunning(true);
    else unloadPasswordVerifier();
}

void HostShell::unloadPasswordVerifier() {
    if (!win9xPlatform_ || !passwordLibrary_) return;
    components_.freeLibrary(passwordLibrary_);
    passwordLibrary_ = 0;
    if (passwordVerifier_) {
        passwordVerifier_ = 0;
        setScreenSaverRunning(false);
    }
}

void HostShell::setScreenSaverRunning(bool running) {
    if (win9xPlatform_) components_.setScreenSaverRunning(running);
}
