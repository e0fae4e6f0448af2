// The saver window's own rules, over fakes of every service: what creation
// does and in which order, that ticks draw only once the first erase made
// the renderer, what the preview does instead, and what destruction stops.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fake_host.h"
#include "render/fault_device.h"
#include "saver/saver_state.h"
#include "saver/saver_window.h"
#include "settings/settings_store.h"
#include "settings/store_fakes.h"
#include "starfield/test_pictures.h"

namespace {

struct ProcessEnded {
    int32_t code;
};

class FakeWindowPlatform : public SaverWindowPlatform {
public:
    std::vector<std::string> calls;
    ScreenRect rect{0, 0, 64, 48};
    ScreenRect windowRect(WindowHandle) override { return rect; }
    uint32_t setTimer(WindowHandle, uint32_t id, uint32_t periodMs) override {
        calls.push_back("timer " + std::to_string(id) + " " + std::to_string(periodMs));
        return id;
    }
    void killTimer(WindowHandle, uint32_t id) override { calls.push_back("kill " + std::to_string(id)); }
    void loadPreviewPicture() override { calls.push_back("load preview"); }
    void paintPreviewPicture(WindowHandle) override { calls.push_back("paint preview"); }
    [[noreturn]] void exitProcess(int32_t code) override { throw ProcessEnded{code}; }
};

// A saver window with its shell, as the host would run it.
struct Window {
    explicit Window(void (*stored)(Settings&) = nullptr) {
        if (stored) {
            Settings s;
            ApplyFallbackDefaults(s);
            stored(s);
            EXPECT_TRUE(SaveSettings(s, store).ok());
        }
        platform.shell = &shell;
        saver.attach(shell);
    }
    intptr_t send(uint32_t id, uintptr_t w = 0) { return saver.saverWindowProc(777, Message{id, w, 0}); }
    int presents() const { return device.count(Op::Present); }

    SaverState state;
    FakeWindowPlatform window;
    FaultDevice device{kFormatX8R8G8B8};
    RecordingPlayer sound;
    MemoryStore store;
    FakeFolders folders;
    FakePictureDecoder pictures;  // none to be had
    SaverWindow saver{state, SaverServices{window, device, sound, store, folders, pictures}};
    FakePlatform platform;
    FakeComponents components;
    HostShell shell{platform, components, saver};
};

}  // namespace

TEST(SaverWindow, CreationLoadsStartsSoundBuildsTheFieldAndStartsTheTimerDestructionStopsThem) {
    Window w([](Settings& s) {
        s.StarsCount = 300;
        s.Smoothness = 30;
        s.BackSound = "D";
    });
    EXPECT_EQ(w.send(msg::kCreate), 1);
    EXPECT_EQ(w.sound.calls, std::vector<std::string>{"image " + std::to_string(builtInMusic().size())});
    EXPECT_EQ(w.state.starField.starCount, 300) << "the stored settings were loaded";
    EXPECT_EQ(w.state.starField.spawnBudget, 150);
    EXPECT_EQ(w.window.calls, std::vector<std::string>{"timer 1 70"});
    EXPECT_EQ(w.saver.frameTimer(), 1u);

    w.send(msg::kDestroy);
    EXPECT_EQ(w.sound.calls.back(), "stop");
    EXPECT_EQ(w.window.calls.back(), "kill 1");
}

TEST(SaverWindow, TicksDrawOnlyAfterTheFirstEraseMadeTheRenderer) {
    Window w;
    w.send(msg::kCreate);
    const uint32_t before = w.state.rng.state();
    w.send(msg::kTimer, 1);
    EXPECT_EQ(w.presents(), 0);
    EXPECT_EQ(w.state.rng.state(), before) << "the flight does not advance without a renderer";
    EXPECT_EQ(w.state.starField.tick, 0);

    EXPECT_EQ(w.send(msg::kEraseBackground), 1);
    EXPECT_TRUE(w.saver.rendererReady());
    EXPECT_EQ(w.state.starField.view.width, 64);
    EXPECT_EQ(w.state.starField.view.height, 48);
    w.send(msg::kTimer, 1);
    w.send(msg::kTimer, 7);  // any timer id ticks
    EXPECT_EQ(w.presents(), 2);
    EXPECT_EQ(w.state.starField.tick, 2);

    w.send(msg::kEraseBackground);  // later erases only paint, never a second renderer
    EXPECT_EQ(w.device.count(Op::CreatePresenter), 1);
    EXPECT_EQ(w.window.calls.back(), "paint preview");
}

TEST(SaverWindow, ARendererThatCannotStartEndsTheProcessWithItsCode) {
    Window w;
    w.send(msg::kCreate);
    w.device.failFrom(Op::CreatePresenter);
    try {
        w.send(msg::kEraseBackground);
        FAIL() << "the process should have ended";
    } catch (const ProcessEnded& ended) {
        EXPECT_EQ(ended.code, FaultDevice::kInjected);
    }
}

TEST(SaverWindow, PreviewShowsOnlyItsPicture) {
    Window w([](Settings& s) { s.BackSound = "D"; });
    ASSERT_EQ(w.shell.saverMain(command("/p 100")), 0);  // the fake host sends the creation itself
    w.send(msg::kEraseBackground);
    w.send(msg::kPaint);
    w.send(msg::kTimer, 1);
    w.send(msg::kDestroy);
    EXPECT_EQ(w.window.calls,
              (std::vector<std::string>{"load preview", "paint preview", "paint preview", "kill 0"}));
    EXPECT_EQ(w.sound.calls, std::vector<std::string>{"stop"}) << "no music, but stopping is harmless";
    EXPECT_EQ(w.state.starField.starCount, 0) << "no settings, no stars";
    EXPECT_EQ(w.presents(), 0);
}

TEST(SaverWindow, ThePasswordCheckAnswerIsPassedBackEverythingElseAnswersOne) {
    Window w;
    w.components.win9x = true;
    w.components.usePassword = 1;
    w.components.verifierAnswer = 0;
    w.platform.whileRunning = [&w] {
        EXPECT_EQ(w.send(msg::kVerifyRequest), 0) << "a refused password must not close the saver";
        EXPECT_EQ(w.send(msg::kKeyDown), 1);
        EXPECT_EQ(w.send(msg::kSetText), 1);
    };
    w.shell.saverMain(command("/s"));
}

TEST(SaverWindow, AHacksOverridesApplyToItsRunOnly) {
    Window w([](Settings& s) { s.StarsCount = 300; });
    SaverCommand hack;
    ASSERT_TRUE(parseHackCommand({"-root", "-stars", "450", "-fps", "50"}, hack).ok());
    w.saver.overrideSettings(hack.overrides);
    w.send(msg::kCreate);
    EXPECT_EQ(w.state.starField.starCount, 450);
    EXPECT_EQ(w.window.calls, std::vector<std::string>{"timer 1 20"});
    Settings stored;
    LoadSettings(stored, w.store, w.folders);
    EXPECT_EQ(stored.StarsCount, 300) << "nothing was stored";
}

TEST(SaverWindow, AHacksFrameFollowsItsWindowsSize) {
    Window w;
    w.platform.whileRunning = [&w] {
        w.send(msg::kEraseBackground);
        w.window.rect = {0, 0, 200, 100};
        w.send(msg::kSize);
        EXPECT_EQ(w.state.starField.view.width, 200);
        EXPECT_EQ(w.state.starField.view.height, 100);
        w.send(msg::kTimer, 1);
        EXPECT_EQ(w.presents(), 1);
        w.window.rect = {0, 0, 0, 0};  // shrunk away: the last frame stays
        w.send(msg::kSize);
        w.window.rect = {0, 0, 200, 100};
        w.send(msg::kSize);
        EXPECT_EQ(w.device.count(Op::CreatePresenter), 2) << "only real changes make new surfaces";
    };
    w.shell.runHack(100);

    Window fullScreen;  // the Windows-style saver keeps the size it started with
    fullScreen.platform.whileRunning = [&fullScreen] {
        fullScreen.send(msg::kEraseBackground);
        fullScreen.window.rect = {0, 0, 200, 100};
        fullScreen.send(msg::kSize);
        EXPECT_EQ(fullScreen.state.starField.view.width, 64);
    };
    fullScreen.shell.saverMain(command("/s"));
}

TEST(SaverWindow, FrameTimerPeriodFollowsSmoothness) {
    // A stored value past 100 asks for the shortest period, not a huge one.
    for (const auto& [smoothness, period] : {std::pair{1, 99u}, {100, 0u}, {250, 0u}, {-50, 150u}})
        EXPECT_EQ(frameTimerPeriod(smoothness), period) << smoothness;
}
