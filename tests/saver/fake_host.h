#pragma once
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "saver/background_sound.h"
#include "saver/command_line.h"
#include "saver/host_shell.h"

// The command the system's command-line text gives.
inline SaverCommand command(std::string_view text) {
    SaverCommand read;
    EXPECT_TRUE(parseSaverCommand(text, read)) << text;
    return read;
}

// A windowing system in memory: records what the shell asks of it, and
// hands sent messages back to the shell as a real one would.
class FakePlatform : public HostPlatform {
public:
    std::vector<WindowHandle> windows{100, 200};
    WindowHandle foreground = 200;
    WindowHandle runningSaver = 0;
    ScreenRect screen{-1280, 0, 3200, 1200};
    ScreenRect clipBox{0, 0, 1024, 768};
    ScreenPoint cursor{500, 400};
    uint32_t now = 10000;
    uint8_t acLine = 1;
    WindowHandle created = 0;
    std::optional<SaverWindowLayout> layout;
    std::vector<std::pair<WindowHandle, Message>> posted;
    std::vector<WindowHandle> broughtToFront;
    std::vector<WindowHandle> dialogOwners;
    int hiddenCursor = 0;
    int defaultCalls = 0;
    int timersRemoved = 0;
    int quitCode = -100;
    HostShell* shell = nullptr;

    bool isWindow(WindowHandle w) override {
        return std::find(windows.begin(), windows.end(), w) != windows.end() || (w != 0 && w == created);
    }
    WindowHandle foregroundWindow() override { return foreground; }
    void setForegroundWindow(WindowHandle w) override { broughtToFront.push_back(w); }
    WindowHandle parentOf(WindowHandle) override { return layout ? layout->parent : 0; }
    WindowHandle findRunningSaver() override { return runningSaver; }
    ScreenRect virtualScreen() override { return screen; }
    ScreenRect screenClipBox() override { return clipBox; }
    ScreenRect clientRect(WindowHandle) override { return {0, 0, 152, 112}; }
    WindowHandle createSaverWindow(const SaverWindowLayout& s) override {
        layout = s;
        created = 777;
        if (shell) shell->hostWindowProc(created, Message{msg::kCreate, 0, 0});
        return created;
    }
    // What happens while the message loop runs; the loop then ends.
    std::function<void()> whileRunning;
    int runMessageLoop() override {
        if (whileRunning) whileRunning();
        return 0;
    }
    void postQuit(int code) override { quitCode = code; }
    intptr_t defaultWindowProc(WindowHandle, const Message&) override {
        ++defaultCalls;
        return 0;
    }
    void postMessage(WindowHandle w, const Message& m) override { posted.emplace_back(w, m); }
    intptr_t sendMessage(WindowHandle w, const Message& m) override { return shell->hostWindowProc(w, m); }
    void removePendingTimers(WindowHandle, int count) override { timersRemoved += count; }
    uint32_t registerMessage(std::string_view) override { return 0xC123; }
    ScreenPoint cursorPosition() override { return cursor; }
    void hideCursor() override { ++hiddenCursor; }
    uint32_t tickCount() override { return now; }
    void yieldTimeSlice() override {}
    uint8_t acLineStatus() override { return acLine; }
    int showConfigureDialog(WindowHandle owner) override {
        dialogOwners.push_back(owner);
        return 1;
    }

    int closeRequests() const {
        return static_cast<int>(std::count_if(posted.begin(), posted.end(),
                                              [](const auto& p) { return p.second.id == msg::kClose; }));
    }
};

// The Windows 95/98/Me components, or none of them.
class FakeComponents : public SystemComponents {
public:
    bool win9x = false;
    std::optional<uint32_t> usePassword;
    bool hasPasswordCpl = true;
    bool hasImm = false;
    int verifierAnswer = 1;
    int verifierCalls = 0;
    std::vector<std::string> calls;
    std::vector<bool> runningFlags;

    bool isWin9xPlatform() override { return win9x; }
    Library loadLibrary(std::string_view name) override {
        calls.push_back("load " + std::string(name));
        if (name == "PASSWORD.CPL") return hasPasswordCpl ? 11 : 0;
        if (name == "MPR.DLL") return 12;
        return 0;
    }
    Library loadedModule(std::string_view name) override { return hasImm && name == "IMM32.DLL" ? 13 : 0; }
    Procedure findProcedure(Library, std::string_view name) override {
        calls.push_back("find " + std::string(name));
        return 21;
    }
    void freeLibrary(Library l) override { calls.push_back("free " + std::to_string(l)); }
    std::optional<uint32_t> screenSaveUsePassword() override { return usePassword; }
    void setScreenSaverRunning(bool running) override { runningFlags.push_back(running); }
    int32_t callVerifyScreenSavePwd(Procedure, WindowHandle) override {
        ++verifierCalls;
        return verifierAnswer;
    }
    void callPwdChangePassword(Procedure, std::string_view provider, WindowHandle window) override {
        calls.push_back("change " + std::string(provider) + " " + std::to_string(window));
    }
    uintptr_t callImmAssociateContext(Procedure, WindowHandle, uintptr_t context) override {
        calls.push_back("associate " + std::to_string(context));
        return context == 0 ? 55 : 0;
    }
};

// Stands in for the saver window logic: hands everything to the default
// saver handling and answers 1, passing back only the password check's
// answer, as the real one does.
class ForwardingHandler : public SaverWindowHandler {
public:
    HostShell* shell = nullptr;
    std::vector<uint32_t> seen;
    intptr_t saverWindowProc(WindowHandle window, const Message& m) override {
        seen.push_back(m.id);
        const intptr_t result = shell->defaultSaverProc(window, m);
        return m.id == msg::kVerifyRequest ? result : 1;
    }
};

// Logs what it is asked to play: "image <bytes>", "file <path>", "stop".
class RecordingPlayer : public SoundPlayer {
public:
    std::vector<std::string> calls;
    void loopWaveImage(std::span<const uint8_t> wave) override { calls.push_back("image " + std::to_string(wave.size())); }
    void loopWaveFile(const std::string& path) override { calls.push_back("file " + path); }
    void stop() override { calls.push_back("stop"); }
};

struct HostFixture {
    FakePlatform platform;
    FakeComponents components;
    ForwardingHandler handler;
    HostShell shell{platform, components, handler};
    HostFixture() {
        platform.shell = &shell;
        handler.shell = &shell;
    }
};
