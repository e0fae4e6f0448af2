#pragma once
// The saver's seams in memory: a host that records what the shell and the
// saver window ask of it and hands messages to the window's procedure as a
// real one does, the Windows 95/98/Me components, a stand-in for the saver
// window, a sound player, and a whole run over them as a main makes it.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "render/fault_device.h"
#include "saver/background_sound.h"
#include "saver/command_line.h"
#include "saver/host_shell.h"
#include "saver/saver_main.h"
#include "saver/saver_state.h"
#include "saver/saver_window.h"
#include "settings/store_fakes.h"
#include "starfield/test_pictures.h"

// The command the system's command-line text gives.
inline SaverCommand command(std::string_view text) {
    SaverCommand read;
    EXPECT_TRUE(parseSaverCommand(text, read)) << text;
    return read;
}

// Both of a host's seams, as SdlHost and Win32Host serve them.
class FakeHost final : public HostPlatform, public SaverWindowPlatform, public DialogPlatform {
public:
    static constexpr WindowHandle kSaverWindow = 777;

    std::vector<WindowHandle> windows{100, 200};
    WindowHandle foreground = 200;
    WindowHandle runningSaver = 0;
    ScreenRect screen{-1280, 0, 3200, 1200};
    ScreenRect clipBox{0, 0, 1024, 768};
    ScreenRect rect{0, 0, 64, 48};  // the saver window's
    ScreenPoint cursor{500, 400};
    uint32_t now = 10000;
    uint8_t acLine = 1;
    WindowHandle created = 0;
    WindowProcedure* procedure = nullptr;
    std::optional<SaverWindowLayout> layout;
    std::vector<std::pair<WindowHandle, Message>> posted;
    std::vector<WindowHandle> broughtToFront;
    std::vector<WindowHandle> dialogOwners;
    std::vector<std::string> calls;  // of the saver window: "timer 1 70", "kill 1", "load preview", "paint preview"
    int hiddenCursor = 0, defaultCalls = 0, timersRemoved = 0;
    std::optional<int> quitCode;
    // What happens while the message loop runs; the loop then ends with the
    // quit code posted, else 0.
    std::function<void()> whileRunning;

    // A message to the saver window, as the platform delivers it.
    intptr_t send(uint32_t id, uintptr_t w = 0, intptr_t l = 0) { return procedure->windowProc(created, {id, w, l}); }
    int closeRequests() const {
        return static_cast<int>(std::count_if(posted.begin(), posted.end(),
                                              [](const auto& p) { return p.second.id == msg::kClose; }));
    }

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
    WindowHandle createSaverWindow(const SaverWindowLayout& s, WindowProcedure& p) override {
        layout = s;
        created = kSaverWindow;
        procedure = &p;
        send(msg::kCreate);
        return created;
    }
    int runMessageLoop() override {
        if (whileRunning) whileRunning();
        return quitCode.value_or(0);
    }
    void postQuit(int code) override { quitCode = code; }
    intptr_t defaultWindowProc(WindowHandle, const Message&) override {
        ++defaultCalls;
        return 0;
    }
    void postMessage(WindowHandle w, const Message& m) override { posted.emplace_back(w, m); }
    intptr_t sendMessage(WindowHandle w, const Message& m) override { return procedure->windowProc(w, m); }
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

    ScreenRect windowRect(WindowHandle) override { return rect; }
    uint32_t setTimer(WindowHandle, uint32_t id, uint32_t periodMs) override {
        calls.push_back("timer " + std::to_string(id) + " " + std::to_string(periodMs));
        return id;
    }
    void killTimer(WindowHandle, uint32_t id) override { calls.push_back("kill " + std::to_string(id)); }
    void loadPreviewPicture() override { calls.push_back("load preview"); }
    void paintPreviewPicture(WindowHandle) override { calls.push_back("paint preview"); }
};

// The Windows 95/98/Me components, or none of them.
class FakeComponents : public SystemComponents {
public:
    bool win9x = false;
    std::optional<uint32_t> usePassword;
    bool hasPasswordCpl = true;
    bool hasImm = false;
    int verifierAnswer = 1, verifierCalls = 0;
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
    bool screenSaveUsePassword(uint32_t& value) override {
        if (!usePassword) return false;
        value = *usePassword;
        return true;
    }
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

// Stands in for the saver window: notes what reaches it and leaves all of
// it to the default saver handling.
class LeavingHandler : public SaverWindowHandler {
public:
    std::vector<uint32_t> seen;
    bool handle(WindowHandle, const Message& m) override {
        seen.push_back(m.id);
        return false;
    }
};

// Logs what it is asked to play: "image <bytes>", "file <path>", "stop".
class RecordingPlayer : public SoundPlayer {
public:
    std::vector<std::string> calls;
    void loopWaveImage(std::span<const uint8_t> wave) override {
        calls.push_back("image " + std::to_string(wave.size()));
    }
    void loopWaveFile(const std::string& path) override { calls.push_back("file " + path); }
    void stop() override { calls.push_back("stop"); }
};

// A host shell over the fakes with the stand-in saver window.
struct ShellFakes {
    FakeHost host;
    FakeComponents components;
    LeavingHandler saver;
    HostShell shell(SaverWindowMode mode) { return HostShell(host, components, saver, mode); }
};

// Everything a main hands saverMain, over fakes, with stored settings.
struct SaverFakes {
    explicit SaverFakes(void (*stored)(Settings&) = nullptr) {
        if (!stored) return;
        Settings s;
        ApplyFallbackDefaults(s);
        stored(s);
        EXPECT_TRUE(SaveSettings(s, store).ok());
    }
    int run(const SaverCommand& command) {
        if (command.showsSettingsDialog()) return settingsDialogMain(command, host);
        return saverMain(command, state, {host, components, {host, device, sound, store, folders, pictures}});
    }
    // A run with `whileRunning` inside its message loop.
    int run(const SaverCommand& command, std::function<void()> whileRunning) {
        host.whileRunning = std::move(whileRunning);
        return run(command);
    }
    int presents() const { return device.count(Op::Present); }

    SaverState state;
    FakeHost host;
    FakeComponents components;
    FaultDevice device{kFormatX8R8G8B8};
    RecordingPlayer sound;
    MemoryStore store;
    FakeFolders folders;
    FakePictureDecoder pictures;  // none to be had
};
