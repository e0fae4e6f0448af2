#include <gtest/gtest.h>

#include "fake_host.h"
#include "saver/command_line.h"

namespace {

using Mode = SaverCommand::Mode;

// A full-screen shell: `whileRunning` runs inside its message loop (the
// password component is loaded only until the loop ends).
struct RunningSaver : ShellFakes {
    explicit RunningSaver(bool win9x = false, std::optional<uint32_t> usePassword = std::nullopt,
                          std::function<void(RunningSaver&)> whileRunning = {}) {
        components.win9x = win9x;
        components.usePassword = usePassword;
        host.whileRunning = [this, whileRunning] {
            host.posted.clear();
            if (whileRunning) whileRunning(*this);
        };
        EXPECT_EQ(shell.emplace(host, components, saver, SaverWindowMode::FullScreen).run(0), 0);
    }
    std::optional<HostShell> shell;
    intptr_t send(uint32_t id, uintptr_t w = 0, intptr_t l = 0) { return host.send(id, w, l); }
};

// Every kind of input a person gives, the pointer moved far away last.
void sendEveryInput(FakeHost& host) {
    for (uint32_t id : {msg::kKeyDown, msg::kLButtonDown, msg::kMouseMove, msg::kActivateApp}) host.send(id);
    host.cursor = {0, 0};
    host.send(msg::kMouseMove);
}

}  // namespace

TEST(CommandLine, ModeLetters) {
    struct Case {
        const char* text;
        Mode mode;
        WindowHandle window;
    };
    for (const Case c : {Case{"", Mode::Settings, 0}, Case{"  ", Mode::Settings, 0}, Case{"/c", Mode::Configure, 0},
                         Case{"/c:0", Mode::Configure, 0}, Case{"/C:4711", Mode::Configure, 4711},
                         Case{"/c 4711", Mode::Configure, 0}, Case{"-S", Mode::FullScreen, 0},
                         Case{"/s", Mode::FullScreen, 0}, Case{"s", Mode::FullScreen, 0},
                         Case{"/s trailing words", Mode::FullScreen, 0}, Case{"/p 1234", Mode::Preview, 1234},
                         Case{"/l   1234", Mode::Preview, 1234}, Case{"/P1234", Mode::Preview, 1234},
                         Case{"/a 77", Mode::ChangePassword, 77}, Case{"/c:12ab", Mode::Configure, 12},
                         Case{"/c: 12", Mode::Configure, 0}, Case{"/c:-12", Mode::Configure, 0},
                         Case{"/c:0x1F", Mode::Configure, 0},  // overlong numbers name no window
                         Case{"/c:99999999999999999999999999999", Mode::Configure, 0}}) {
        const SaverCommand read = command(c.text);
        EXPECT_EQ(read.mode, c.mode) << '"' << c.text << '"';
        EXPECT_EQ(read.window, c.window) << '"' << c.text << '"';
    }
    for (const char* refused : {"/x", "--\x01", "-root"}) {
        SaverCommand read{Mode::Preview, 5, {}};
        EXPECT_FALSE(parseSaverCommand(refused, read)) << refused;
    }
}

// On Linux the same modes come as arguments, a hack's words beside them.
TEST(CommandLine, ArgumentsAreReadOnce) {
    using Args = std::vector<std::string>;
    struct Case {
        Args args;
        Mode mode;
        WindowHandle window;
    };
    for (const Case& c : {Case{{}, Mode::Settings, 0}, Case{{"/p", "1234"}, Mode::Preview, 1234},
                          Case{{"/c:77"}, Mode::Configure, 77}, Case{{"-s"}, Mode::FullScreen, 0},
                          Case{{"-window-id", "0x10"}, Mode::WindowId, 16}, Case{{"--root"}, Mode::Root, 0},
                          Case{{"--version"}, Mode::Version, 0}}) {
        SaverCommand read;
        EXPECT_TRUE(parseSaverArguments(c.args, read).ok());
        EXPECT_EQ(read.mode, c.mode) << (c.args.empty() ? "" : c.args[0]);
        EXPECT_EQ(read.window, c.window) << (c.args.empty() ? "" : c.args[0]);
    }
    for (const auto& [args, said] :
         {std::pair{Args{"/x", "7"}, "unknown argument '/x' (see lumara --help)"},
          {Args{"-root", "-stars"}, "-stars needs a value (see --help)"}}) {
        SaverCommand read;
        EXPECT_EQ(parseSaverArguments(args, read).message(), said);
    }
}

TEST(SaverMain, RoutesEachMode) {
    SaverFakes f;
    // "/c:555" is not a window: the foreground one owns the dialog.
    for (const char* settings : {"", "/c", "/c:0", "/c:100", "/c:555"}) EXPECT_EQ(f.run(command(settings)), 1);
    EXPECT_EQ(f.host.dialogOwners, (std::vector<WindowHandle>{0, 200, 200, 100, 200}));

    // "/a": password change exists only on Windows 95/98/Me; a hack needs
    // the window main found for it.
    for (const SaverCommand& refused : {command("/p"), command("/p 555"), command("/p 123456789012345678901234567890"),
                                        command("/a 100"), SaverCommand{Mode::Root, 0, {}},
                                        SaverCommand{Mode::WindowId, 555, {}}, SaverCommand{Mode::Help, 0, {}}})
        EXPECT_EQ(f.run(refused), -1) << static_cast<int>(refused.mode);
    EXPECT_FALSE(f.host.layout.has_value());

    f.components.win9x = true;
    EXPECT_EQ(f.run(command("/a 100")), 0);
    const std::vector<std::string>& calls = f.components.calls;
    EXPECT_EQ(std::count(calls.begin(), calls.end(), "change SCRSAVE 100"), 1) << "the system's dialog for the window";
    EXPECT_EQ(std::count(calls.begin(), calls.end(), "free 12"), 1) << "its library let go";

    // Each window mode makes its window.
    for (const auto& [run, parent, hack] : {std::tuple{command("/s"), WindowHandle{0}, false},
                                            {command("/p 100"), WindowHandle{100}, false},
                                            {SaverCommand{Mode::Root, 200, {}}, WindowHandle{200}, true},
                                            {SaverCommand{Mode::Window, 0, {}}, WindowHandle{0}, true}}) {
        SaverFakes window;
        EXPECT_EQ(window.run(run), 0);
        ASSERT_TRUE(window.host.layout.has_value());
        EXPECT_EQ(window.host.layout->parent, parent);
        EXPECT_EQ(window.host.layout->hack, hack);
        EXPECT_GT(window.host.layout->rect.width, 0);
    }
}

TEST(RunSaver, FullScreenCoversTheVirtualScreen) {
    ShellFakes f;
    EXPECT_EQ(f.shell(SaverWindowMode::FullScreen).run(0), 0);
    ASSERT_TRUE(f.host.layout.has_value());
    EXPECT_EQ(f.host.layout->parent, 0u);
    EXPECT_EQ(f.host.layout->rect.left, -1280);
    EXPECT_EQ(f.host.layout->rect.width, 3200);
    EXPECT_STREQ(f.host.layout->title, "Screen Saver");
    EXPECT_EQ(f.host.broughtToFront, std::vector<WindowHandle>{FakeHost::kSaverWindow});
    EXPECT_GT(f.host.hiddenCursor, 0);

    ShellFakes noMetrics;
    noMetrics.host.screen = {0, 0, 0, 0};
    noMetrics.shell(SaverWindowMode::FullScreen).run(0);
    EXPECT_EQ(noMetrics.host.layout->rect.width, 1024);
}

TEST(RunSaver, ASecondFullScreenInstanceOnlyRaisesTheFirst) {
    ShellFakes f;
    f.host.runningSaver = 4242;
    EXPECT_EQ(f.shell(SaverWindowMode::FullScreen).run(0), 0);
    EXPECT_FALSE(f.host.layout.has_value());
    EXPECT_EQ(f.host.broughtToFront, std::vector<WindowHandle>{4242});
}

TEST(RunSaver, PreviewFillsThePaneAndNeverCloses) {
    ShellFakes f;
    HostShell shell = f.shell(SaverWindowMode::Preview);
    EXPECT_EQ(shell.run(100), 0);
    EXPECT_STREQ(f.host.layout->title, "Preview");
    EXPECT_EQ(f.host.layout->parent, 100u);
    EXPECT_EQ(f.host.layout->rect.width, 152);
    EXPECT_EQ(f.host.hiddenCursor, 0);
    sendEveryInput(f.host);
    EXPECT_EQ(f.host.closeRequests(), 0);

    // Help requests go to the pane's window, with its handle.
    EXPECT_EQ(f.host.send(msg::kHelp, 0, 99), 1);
    ASSERT_EQ(f.host.posted.size(), 1u);
    const auto& [pane, help] = f.host.posted[0];
    EXPECT_EQ(std::tuple(pane, help.wParam, help.lParam), std::tuple(WindowHandle{100}, uintptr_t{100}, intptr_t{99}));
}

TEST(RunHack, DrawsIntoTheGivenWindowAndOnlyACloseRequestEndsIt) {
    ShellFakes f;
    f.host.whileRunning = [&f] {
        sendEveryInput(f.host);
        f.host.send(msg::kPaint);
        EXPECT_EQ(f.host.closeRequests(), 0) << "the daemon owns input";
        const int before = f.host.defaultCalls;
        f.host.send(msg::kClose);
        EXPECT_EQ(f.host.defaultCalls, before + 1) << "the close request reached the window's default handling";
    };
    EXPECT_EQ(f.shell(SaverWindowMode::Hack).run(100), 0);
    EXPECT_TRUE(f.host.layout->hack);
    EXPECT_EQ(f.host.layout->parent, 100u);
    EXPECT_EQ(f.host.layout->rect.width, 152);
    EXPECT_EQ(f.host.hiddenCursor, 0) << "the daemon owns the cursor";
}

TEST(CloseRules, InputClosesTheFullScreenSaver) {
    using Input = std::tuple<uint32_t, uintptr_t, int>;  // message, its wParam, close requests
    for (const auto& [id, w, closes] :
         {Input{msg::kKeyDown, 0, 1}, Input{msg::kSysKeyDown, 0, 1}, Input{msg::kLButtonDown, 0, 1},
          Input{msg::kRButtonDown, 0, 1}, Input{msg::kMButtonDown, 0, 1}, Input{msg::kActivateApp, 1, 0},
          Input{msg::kActivateApp, 0, 1}, Input{msg::kPower, 2, 0}, Input{msg::kPower, 3, 1}}) {
        RunningSaver s;
        s.send(id, w);
        EXPECT_EQ(s.host.closeRequests(), closes) << id << " " << w;
    }
}

TEST(CloseRules, MouseMovementBeyondFourPixels) {
    RunningSaver s;
    // 4 in sum stays and keeps the reference point; 5 closes and takes the new one.
    for (const auto& [cursor, closes] : {std::pair{ScreenPoint{502, 402}, 0}, {{503, 402}, 1}, {{507, 402}, 1},
                                         {{508, 402}, 2}}) {
        s.host.cursor = cursor;
        s.send(msg::kMouseMove);
        EXPECT_EQ(s.host.closeRequests(), closes) << cursor.x;
    }
}

TEST(CloseRules, PowerBroadcasts) {
    RunningSaver s;
    // Resumes after a failed suspend keep it open: the system was never away.
    for (uintptr_t resume : {msg::kPowerResumeCritical, msg::kPowerResumeSuspend, msg::kPowerResumeStandby,
                             msg::kPowerResumeAutomatic})
        s.send(msg::kPowerBroadcast, resume, msg::kPowerResumeFromFailure | 2);
    s.send(msg::kPowerBroadcast, msg::kPowerStatusChange);  // AC line unchanged
    EXPECT_EQ(s.host.closeRequests(), 0);
    s.host.acLine = 0;
    s.send(msg::kPowerBroadcast, msg::kPowerStatusChange);
    EXPECT_EQ(s.host.closeRequests(), 1);
    s.send(msg::kPowerBroadcast, msg::kPowerStatusChange);  // the new status was recorded
    EXPECT_EQ(s.host.closeRequests(), 1);
    // Every other event closes it, and so does a resume from a real suspend.
    for (uintptr_t event : {0u, 4u, 9u, 11u, 17u, 19u, 32u}) s.send(msg::kPowerBroadcast, event);
    s.send(msg::kPowerBroadcast, msg::kPowerResumeCritical, 0);
    EXPECT_EQ(s.host.closeRequests(), 9);
}

TEST(HostWindow, SwallowsTaskSwitchesTitleChangesAndTicksWhileClosing) {
    RunningSaver s;
    for (uintptr_t command : {msg::kScNextWindow, msg::kScPrevWindow, msg::kScScreenSave}) {
        s.saver.seen.clear();
        EXPECT_EQ(s.send(msg::kSysCommand, command), 0);
        EXPECT_TRUE(s.saver.seen.empty());
    }
    s.send(msg::kSysCommand, 0xF060);
    EXPECT_EQ(s.saver.seen, std::vector<uint32_t>{msg::kSysCommand});
    EXPECT_EQ(s.send(msg::kSetText), 0);
}

TEST(HostWindow, DestroyPostsQuitAndRestoresTheInputContext) {
    ShellFakes f;
    f.components.hasImm = true;
    HostShell shell = f.shell(SaverWindowMode::FullScreen);
    shell.run(0);
    f.host.send(msg::kDestroy);
    EXPECT_EQ(f.host.quitCode, 0);
    EXPECT_EQ(f.components.calls,
              (std::vector<std::string>{"find ImmAssociateContext", "associate 0", "associate 55"}));
}

TEST(Password, Win9xSaverAsksBeforeClosing) {
    RunningSaver saver(true, 1, [](RunningSaver& s) {
        EXPECT_EQ(s.components.runningFlags, std::vector<bool>{true});
        s.components.verifierAnswer = 0;  // refused
        s.host.cursor = {10, 10};
        s.send(msg::kClose);
        EXPECT_FALSE(s.shell->closing());
        EXPECT_EQ(s.components.verifierCalls, 1);
        EXPECT_EQ(s.host.timersRemoved, 2);
        const int requests = s.host.closeRequests();
        s.host.cursor = {14, 10};
        s.send(msg::kMouseMove);
        EXPECT_EQ(s.host.closeRequests(), requests) << "a refused password takes a fresh reference point";

        s.host.now += 150;  // too soon for another check
        s.send(msg::kClose);
        EXPECT_EQ(s.components.verifierCalls, 1);
        EXPECT_FALSE(s.shell->closing());

        s.host.now += 100;
        s.components.verifierAnswer = 1;
        s.send(msg::kClose);
        EXPECT_TRUE(s.shell->closing());
        EXPECT_EQ(s.send(msg::kTimer), 0) << "no frames once closing";
        const size_t before = s.saver.seen.size();
        s.send(msg::kKeyDown);
        EXPECT_EQ(s.saver.seen.size(), before) << "input goes to the platform default only";
    });
    EXPECT_EQ(saver.components.runningFlags, (std::vector<bool>{true, false})) << "released when the loop ends";
}

TEST(Password, AbsentOrDisabledMeansNoCheck) {
    for (const bool hasPasswordCpl : {true, false}) {
        ShellFakes f;
        f.components.win9x = true;
        f.components.usePassword = hasPasswordCpl ? 0 : 1;  // disabled, or enabled without its component
        f.components.hasPasswordCpl = hasPasswordCpl;
        HostShell shell = f.shell(SaverWindowMode::FullScreen);
        f.host.whileRunning = [&] {
            f.host.send(msg::kClose);
            EXPECT_TRUE(shell.closing()) << hasPasswordCpl;
        };
        shell.run(0);
        EXPECT_EQ(f.components.verifierCalls, 0) << hasPasswordCpl;
        EXPECT_TRUE(f.components.runningFlags.empty()) << hasPasswordCpl;
    }
}

// A disc inserted closes the saver on Win9x; outside it there is no such message.
TEST(Password, AutoPlayIsCancelledOnlyWhilePasswordProtected) {
    for (const auto& [win9x, usePassword, cancel] : {std::tuple{true, std::optional<uint32_t>{1}, 1},
                                                     {true, std::optional<uint32_t>{0}, 0}, {false, std::nullopt, 0}})
        RunningSaver(win9x, usePassword, [win9x = win9x, cancel = cancel](RunningSaver& s) {
            EXPECT_EQ(s.shell->defaultSaverProc(FakeHost::kSaverWindow, {0xC123, 0, 0}), cancel);
            EXPECT_EQ(s.host.closeRequests(), win9x ? 1 : 0);
        });
}
