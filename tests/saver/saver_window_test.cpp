// The saver window's own rules, run as a main runs them: saverMain over fakes
// of every seam.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fake_host.h"
#include "raster/overlay_text.h"
#include "saver/frame_rate_display.h"
#include "saver/hack_command.h"
#include "settings/settings_store.h"

TEST(SaverWindow, CreationLoadsStartsSoundBuildsTheFieldAndStartsTheTimerDestructionStopsThem) {
    SaverFakes f([](Settings& s) {
        s.StarsCount = 300;
        s.Smoothness = 30;
        s.BackSound = "D";
    });
    EXPECT_EQ(f.run(command("/s"), [&f] {
        EXPECT_EQ(f.sound.calls, std::vector<std::string>{"image " + std::to_string(builtInMusic().size())});
        EXPECT_EQ(f.state.starField.starCount, 300) << "the stored settings were loaded";
        EXPECT_EQ(f.state.starField.spawnBudget, 150);
        EXPECT_EQ(f.host.calls, std::vector<std::string>{"timer 1 70"});
        EXPECT_EQ(f.host.send(msg::kDestroy), 1);
    }), 0);
    EXPECT_EQ(f.sound.calls.back(), "stop");
    EXPECT_EQ(f.host.calls.back(), "kill 1");
}

TEST(SaverWindow, TicksDrawOnlyAfterTheFirstEraseMadeTheRenderer) {
    SaverFakes f;
    EXPECT_EQ(f.run(command("/s"), [&f] {
        const uint32_t before = f.state.rng.state();
        const int defaults = f.host.defaultCalls;
        EXPECT_EQ(f.host.send(msg::kTimer, 1), 1);
        EXPECT_EQ(f.presents(), 0);
        EXPECT_EQ(f.state.rng.state(), before) << "the flight does not advance without a renderer";
        EXPECT_EQ(f.state.starField.tick, 0);

        EXPECT_EQ(f.host.send(msg::kEraseBackground), 1);
        EXPECT_EQ(f.state.starField.view.width, 64);
        EXPECT_EQ(f.state.starField.view.height, 48);
        f.host.send(msg::kTimer, 1);
        f.host.send(msg::kTimer, 7);  // any timer id ticks
        EXPECT_EQ(f.presents(), 2);
        EXPECT_EQ(f.state.starField.tick, 2);
        EXPECT_EQ(f.host.defaultCalls, defaults) << "ticks and erasing are the window's own";

        f.host.send(msg::kEraseBackground);  // later erases only paint, never a second renderer
        EXPECT_EQ(f.device.count(Op::CreatePresenter), 1);
        EXPECT_EQ(f.host.calls.back(), "paint preview");
    }), 0);
}

// The renderer's result is the run's exit code, returned through the
// message loop; nothing is drawn in the meantime.
TEST(SaverWindow, ARendererThatCannotStartEndsTheRunWithItsCode) {
    SaverFakes f;
    f.device.failFrom(Op::CreatePresenter);
    EXPECT_EQ(f.run(command("/s"), [&f] {
        f.host.send(msg::kEraseBackground);
        f.host.send(msg::kTimer, 1);
        f.host.send(msg::kEraseBackground);
    }), FaultDevice::kInjected);
    EXPECT_EQ(f.presents(), 0);
    EXPECT_EQ(f.state.starField.tick, 0);
    EXPECT_EQ(f.device.count(Op::CreatePresenter), 1) << "one attempt";

    SaverFakes hack;  // likewise when a hack's frame cannot follow its window
    hack.device.failFrom(Op::CreatePresenter, 2);
    EXPECT_EQ(hack.run({SaverCommand::Mode::Window, 0, {}}, [&hack] {
        hack.host.send(msg::kEraseBackground);
        hack.host.rect = {0, 0, 200, 100};
        hack.host.send(msg::kSize);
        hack.host.send(msg::kTimer, 1);
    }), FaultDevice::kInjected);
    EXPECT_EQ(hack.presents(), 0);
}

TEST(SaverWindow, PreviewShowsOnlyItsPicture) {
    SaverFakes f([](Settings& s) { s.BackSound = "D"; });
    ASSERT_EQ(f.run(command("/p 100"), [&f] {
        for (uint32_t id : {msg::kEraseBackground, msg::kPaint, msg::kTimer, msg::kDestroy}) f.host.send(id, 1);
    }), 0);
    EXPECT_EQ(f.host.calls, (std::vector<std::string>{"load preview", "paint preview", "paint preview", "kill 0"}));
    EXPECT_EQ(f.sound.calls, std::vector<std::string>{"stop"}) << "no music, but stopping is harmless";
    EXPECT_EQ(f.state.starField.starCount, 0) << "no settings, no stars";
    EXPECT_EQ(f.presents(), 0);
}

TEST(SaverWindow, ThePasswordCheckAnswerIsPassedBackEverythingElseAnswersOne) {
    SaverFakes f;
    f.components.win9x = true;
    f.components.usePassword = 1;
    f.components.verifierAnswer = 0;
    f.run(command("/s"), [&f] {
        EXPECT_EQ(f.host.send(msg::kVerifyRequest), 0) << "a refused password must not close the saver";
        for (uint32_t id : {msg::kKeyDown, msg::kShowWindow, msg::kTimer, msg::kPaint})
            EXPECT_EQ(f.host.send(id), 1) << id;
    });
}

TEST(SaverWindow, AHacksOptionsApplyToItsRunOnly) {
    SaverFakes f([](Settings& s) { s.StarsCount = 300; });
    SaverCommand hack;
    ASSERT_TRUE(parseSaverArguments({"-window-id", "100", "-stars", "450", "-delay", "20000"}, hack).ok());
    EXPECT_EQ(f.run(hack), 0);
    EXPECT_EQ(f.state.starField.starCount, 450);
    EXPECT_EQ(f.host.calls, std::vector<std::string>{"timer 1 20"});
    Settings stored;
    LoadSettings(stored, f.store, f.folders);
    EXPECT_EQ(stored.StarsCount, 300) << "nothing was stored";
}

// With -fps the frame rate is drawn over the frame, in its bottom left
// corner; every other byte is the frame without it.
TEST(SaverWindow, AHacksFpsDrawsTheFrameRateIntoTheCornerAndNowhereElse) {
    auto lastFrame = [](const std::vector<std::string>& args) {
        SaverFakes f([](Settings& s) { s.StarsCount = 20000; });
        f.host.rect = {0, 0, 160, 120};
        std::vector<uint8_t> bytes;
        f.host.whileRunning = [&] {
            f.host.send(msg::kEraseBackground);
            for (int i = 0; i < 30; ++i) f.host.send(msg::kTimer, 1);
            bytes = frameBytes(f.device.shown);
        };
        SaverCommand hack;
        EXPECT_TRUE(parseSaverArguments(args, hack).ok());
        f.run(hack);
        return bytes;
    };
    std::vector<uint8_t> plain = lastFrame({"-window-id", "100"});
    const std::vector<uint8_t> withRate = lastFrame({"-window-id", "100", "-fps"});
    ASSERT_EQ(plain.size(), 160u * 120 * 4);
    EXPECT_NE(plain, withRate);
    // Less than a second into the run: no rate measured yet.
    const FrameTarget expected{plain.data(), 160 * 4, 160, 120, kFormatX8R8G8B8};
    drawOverlayText(expected, 0, 120 - overlayTextSize("FPS: -", 1).height, 1, "FPS: -");
    EXPECT_EQ(plain, withRate);
}

// The rate shown is the frames of the last whole second, renewed once a second.
TEST(FrameRate, CountsTheFramesOfEachSecondToATenth) {
    FrameRateDisplay rate;
    EXPECT_EQ(rate.tenthsPerSecond(), -1);
    for (uint64_t ms = 5000; ms < 6000; ms += 70) rate.countFrame(ms);
    EXPECT_EQ(rate.tenthsPerSecond(), -1) << "not a second yet";
    rate.countFrame(6000);
    EXPECT_EQ(rate.tenthsPerSecond(), 150) << "15 frames after the first, in 1000 ms";
    for (uint64_t ms = 6070; ms <= 7400; ms += 70) rate.countFrame(ms);
    EXPECT_EQ(rate.tenthsPerSecond(), 143) << "15 frames in 1050 ms: 14.29 a second";
    rate.countFrame(100);
    rate.countFrame(1100);
    EXPECT_EQ(rate.tenthsPerSecond(), 10) << "a clock that went back starts a new second";
}

TEST(SaverWindow, AHacksFrameFollowsItsWindowsSizeAndAFullScreenOneTheScreensWhenTold) {
    SaverFakes f;
    EXPECT_EQ(f.run({SaverCommand::Mode::WindowId, 100, {}}, [&f] {
        f.host.send(msg::kEraseBackground);
        f.host.rect = {0, 0, 200, 100};
        f.host.send(msg::kSize);
        EXPECT_EQ(f.state.starField.view.width, 200);
        EXPECT_EQ(f.state.starField.view.height, 100);
        f.host.send(msg::kTimer, 1);
        EXPECT_EQ(f.presents(), 1);
        f.host.rect = {0, 0, 0, 0};  // shrunk away: the last frame stays
        f.host.send(msg::kSize);
        f.host.rect = {0, 0, 200, 100};
        f.host.send(msg::kSize);
        EXPECT_EQ(f.device.count(Op::CreatePresenter), 2) << "only real changes make new surfaces";
    }), 0);

    SaverFakes fullScreen;  // the Windows-style saver keeps the size it started with
    fullScreen.run(command("/s"), [&fullScreen] {
        fullScreen.host.send(msg::kEraseBackground);
        fullScreen.host.rect = {0, 0, 200, 100};
        fullScreen.host.send(msg::kSize);
        EXPECT_EQ(fullScreen.state.starField.view.width, 64);
        fullScreen.host.send(msg::kScreenResized);  // a Wayland output's new mode
        EXPECT_EQ(fullScreen.state.starField.view.width, 200);
    });
}

TEST(SaverWindow, FrameTimerPeriodFollowsSmoothness) {
    // A stored value past 100 asks for the shortest period, not a huge one.
    for (const auto& [smoothness, period] : {std::pair{1, 99u}, {100, 0u}, {250, 0u}, {-50, 150u}})
        EXPECT_EQ(frameTimerPeriod(smoothness), period) << smoothness;
}
