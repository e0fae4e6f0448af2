#include <gtest/gtest.h>

#include "fake_host.h"
#include "saver/command_line.h"

namespace {

using Mode = SaverCommand::Mode;

Message message(uint32_t id, uintptr_t w = 0, intptr_t l = 0) { return Message{id, w, l}; }

// A full-screen saver: `whileRunning` runs inside its message loop (the
// password component is loaded only until the loop ends).
struct RunningSaver : HostFixture {
    explicit RunningSaver(bool win9x = false, std::optional<uint32_t> usePassword = std::nullopt,
                          std::function<void(RunningSaver&)> whileRunning = {}) {
        components.win9x = win9x;
        components.usePassword = usePassword;
        platform.whileRunning = [this, whileRunning] {
            window = platform.created;
            platform.posted.clear();
            if (whileRunning) whileRunning(*this);
        };
        EXPECT_EQ(shell.saverMain(command("/s")), 0);
    }
    WindowHandle window = 0;
    intptr_t send(uint32_t id, uintptr_t w = 0, intptr_t l = 0) { return shell.hostWindowProc(window, message(id, w, l)); }
};

// Every kind of input a person gives, the pointer moved far away last.
void sendEveryInput(HostFixture& f) {
    for (uint32_t id : {msg::kKeyDown, msg::kLButtonDown, msg::kMouseMove, msg::kActivateApp})
        f.shell.hostWindowProc(777, Message{id, 0, 0});
    f.platform.cursor = {0, 0};
    f.shell.hostWindowProc(777, Message{msg::kMouseMove, 0, 0});
}

}  // namespace

TEST(CommandLine, WindowNumbers) {
    for (const auto& [text, window] : std::vector<std::pair<const char*, WindowHandle>>{
             {"1234", 1234}, {"12ab", 12}, {"", 0}, {" 12", 0}, {"-12", 0}, {"0x1F", 0},
             {"99999999999999999999999999999", 0}})  // overlong numbers name no window
        EXPECT_EQ(parseWindowHandle(text), window) << text;
}

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
                         Case{"/a 77", Mode::ChangePassword, 77}}) {
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
    HostFixture f;
    // "/c:555" is not a window: the foreground one owns the dialog.
    for (const char* settings : {"", "/c", "/c:0", "/c:100", "/c:555"}) EXPECT_EQ(f.shell.saverMain(command(settings)), 1);
    EXPECT_EQ(f.platform.dialogOwners, (std::vector<WindowHandle>{0, 200, 200, 100, 200}));

    // "/a": password change exists only on Windows 95/98/Me.
    for (const char* refused : {"/p", "/p 555", "/p 123456789012345678901234567890", "/a 100"})
        EXPECT_EQ(f.shell.saverMain(command(refused)), -1) << refused;
    EXPECT_FALSE(f.platform.layout.has_value());

    f.components.win9x = true;
    EXPECT_EQ(f.shell.saverMain(command("/a 100")), 0);
    const std::vector<std::string>& calls = f.components.calls;
    EXPECT_EQ(std::count(calls.begin(), calls.end(), "change SCRSAVE 100"), 1) << "the system's dialog for the window";
    EXPECT_EQ(std::count(calls.begin(), calls.end(), "free 12"), 1) << "its library let go";
}

TEST(RunSaver, FullScreenCoversTheVirtualScreen) {
    HostFixture f;
    EXPECT_EQ(f.shell.saverMain(command("/s")), 0);
    ASSERT_TRUE(f.platform.layout.has_value());
    EXPECT_EQ(f.platform.layout->parent, 0u);
    EXPECT_EQ(f.platform.layout->rect.left, -1280);
    EXPECT_EQ(f.platform.layout->rect.width, 3200);
    EXPECT_STREQ(f.platform.layout->title, "Screen Saver");
    EXPECT_EQ(f.platform.broughtToFront, std::vector<WindowHandle>{777});
    EXPECT_FALSE(f.shell.previewMode());
    EXPECT_GT(f.platform.hiddenCursor, 0);

    HostFixture noMetrics;
    noMetrics.platform.screen = {0, 0, 0, 0};
    noMetrics.shell.saverMain(command("/s"));
    EXPECT_EQ(noMetrics.platform.layout->rect.width, 1024);
}

TEST(RunSaver, ASecondFullScreenInstanceOnlyRaisesTheFirst) {
    HostFixture f;
    f.platform.runningSaver = 4242;
    EXPECT_EQ(f.shell.saverMain(command("/s")), 0);
    EXPECT_FALSE(f.platform.layout.has_value());
    EXPECT_EQ(f.platform.broughtToFront, std::vector<WindowHandle>{4242});
}

TEST(RunSaver, PreviewFillsThePaneAndNeverCloses) {
    HostFixture f;
    EXPECT_EQ(f.shell.saverMain(command("/p 100")), 0);
    EXPECT_STREQ(f.platform.layout->title, "Preview");
    EXPECT_EQ(f.platform.layout->parent, 100u);
    EXPECT_EQ(f.platform.layout->rect.width, 152);
    EXPECT_TRUE(f.shell.previewMode());
    EXPECT_EQ(f.platform.hiddenCursor, 0);
    sendEveryInput(f);
    EXPECT_EQ(f.platform.closeRequests(), 0);

    // Help requests go to the pane's window, with its handle.
    EXPECT_EQ(f.shell.hostWindowProc(777, Message{msg::kHelp, 0, 99}), 1);
    ASSERT_EQ(f.platform.posted.size(), 1u);
    const auto& [pane, help] = f.platform.posted[0];
    EXPECT_EQ(std::tuple(pane, help.wParam, help.lParam), std::tuple(WindowHandle{100}, uintptr_t{100}, intptr_t{99}));
}

TEST(RunHack, DrawsIntoTheGivenWindowAndOnlyACloseRequestEndsIt) {
    HostFixture f;
    f.platform.whileRunning = [&f] {
        sendEveryInput(f);
        f.shell.hostWindowProc(777, Message{msg::kPaint, 0, 0});
        EXPECT_EQ(f.platform.closeRequests(), 0) << "the daemon owns input";
        const int before = f.platform.defaultCalls;
        f.shell.hostWindowProc(777, Message{msg::kClose, 0, 0});
        EXPECT_EQ(f.platform.defaultCalls, before + 1) << "the close request reached the window's default handling";
    };
    EXPECT_EQ(f.shell.runHack(100), 0);
    EXPECT_TRUE(f.platform.layout->hack);
    EXPECT_EQ(f.platform.layout->parent, 100u);
    EXPECT_EQ(f.platform.layout->rect.width, 152);
    EXPECT_TRUE(f.shell.hackMode());
    EXPECT_FALSE(f.shell.previewMode());
    EXPECT_EQ(f.platform.hiddenCursor, 0) << "the daemon owns the cursor";
}

TEST(RunHack, AWindowOfItsOwnOrNone) {
    HostFixture own;
    EXPECT_EQ(own.shell.runHack(0), 0);
    EXPECT_EQ(own.platform.layout->parent, 0u);
    EXPECT_GT(own.platform.layout->rect.width, 0);
    HostFixture none;
    EXPECT_EQ(none.shell.runHack(4242), -1);
    EXPECT_FALSE(none.platform.layout.has_value());
}

TEST(CloseRules, InputClosesTheFullScreenSaver) {
    for (uint32_t id : {msg::kKeyDown, msg::kSysKeyDown, msg::kLButtonDown, msg::kRButtonDown, msg::kMButtonDown}) {
        RunningSaver s;
        s.send(id);
        EXPECT_EQ(s.platform.closeRequests(), 1) << id;
    }
    RunningSaver s;
    s.send(msg::kActivateApp, 1);
    s.send(msg::kPower, 2);
    EXPECT_EQ(s.platform.closeRequests(), 0);
    s.send(msg::kActivateApp, 0);
    s.send(msg::kPower, 3);
    EXPECT_EQ(s.platform.closeRequests(), 2);
}

TEST(CloseRules, MouseMovementBeyondFourPixels) {
    RunningSaver s;
    s.platform.cursor = {502, 402};  // 4 in sum: stays
    s.send(msg::kMouseMove);
    EXPECT_EQ(s.platform.closeRequests(), 0);
    EXPECT_EQ(s.shell.startCursor().x, 500) << "the reference point stays";
    s.platform.cursor = {503, 402};  // 5: closes
    s.send(msg::kMouseMove);
    EXPECT_EQ(s.platform.closeRequests(), 1);
    EXPECT_EQ(s.shell.startCursor().x, 503);
}

TEST(CloseRules, PowerBroadcasts) {
    RunningSaver s;
    // Resumes after a failed suspend keep it open: the system was never away.
    for (uintptr_t resume : {msg::kPowerResumeCritical, msg::kPowerResumeSuspend, msg::kPowerResumeStandby,
                             msg::kPowerResumeAutomatic})
        s.send(msg::kPowerBroadcast, resume, msg::kPowerResumeFromFailure | 2);
    s.send(msg::kPowerBroadcast, msg::kPowerStatusChange);  // AC line unchanged
    EXPECT_EQ(s.platform.closeRequests(), 0);
    s.platform.acLine = 0;
    s.send(msg::kPowerBroadcast, msg::kPowerStatusChange);
    EXPECT_EQ(s.platform.closeRequests(), 1);
    s.send(msg::kPowerBroadcast, msg::kPowerStatusChange);  // the new status was recorded
    EXPECT_EQ(s.platform.closeRequests(), 1);
    // Every other event closes it, and so does a resume from a real suspend.
    for (uintptr_t event : {0u, 4u, 9u, 11u, 17u, 19u, 32u}) s.send(msg::kPowerBroadcast, event);
    s.send(msg::kPowerBroadcast, msg::kPowerResumeCritical, 0);
    EXPECT_EQ(s.platform.closeRequests(), 9);
}

TEST(HostWindow, SwallowsTaskSwitchesTitleChangesAndTicksWhileClosing) {
    RunningSaver s;
    for (uintptr_t command : {msg::kScNextWindow, msg::kScPrevWindow, msg::kScScreenSave}) {
        s.handler.seen.clear();
        EXPECT_EQ(s.send(msg::kSysCommand, command), 0);
        EXPECT_TRUE(s.handler.seen.empty());
    }
    s.send(msg::kSysCommand, 0xF060);
    EXPECT_EQ(s.handler.seen, std::vector<uint32_t>{msg::kSysCommand});
    EXPECT_EQ(s.send(msg::kSetText), 0);
}

TEST(HostWindow, DestroyPostsQuitAndRestoresTheInputContext) {
    HostFixture f;
    f.components.hasImm = true;
    f.shell.saverMain(command("/s"));
    f.shell.hostWindowProc(777, Message{msg::kDestroy, 0, 0});
    EXPECT_EQ(f.platform.quitCode, 0);
    EXPECT_EQ(f.components.calls,
              (std::vector<std::string>{"find ImmAssociateContext", "associate 0", "associate 55"}));
}

TEST(Password, Win9xSaverAsksBeforeClosing) {
    RunningSaver saver(true, 1, [](RunningSaver& s) {
        EXPECT_EQ(s.components.runningFlags, std::vector<bool>{true});
        s.components.verifierAnswer = 0;  // refused
        s.platform.cursor = {10, 10};
        s.send(msg::kClose);
        EXPECT_FALSE(s.shell.closing());
        EXPECT_EQ(s.components.verifierCalls, 1);
        EXPECT_EQ(s.platform.timersRemoved, 2);
        EXPECT_EQ(s.shell.startCursor().x, 10) << "a refused password takes a fresh reference point";

        s.platform.now += 150;  // too soon for another check
        s.send(msg::kClose);
        EXPECT_EQ(s.components.verifierCalls, 1);
        EXPECT_FALSE(s.shell.closing());

        s.platform.now += 100;
        s.components.verifierAnswer = 1;
        s.send(msg::kClose);
        EXPECT_TRUE(s.shell.closing());
        EXPECT_EQ(s.send(msg::kTimer), 0) << "no frames once closing";
        const size_t before = s.handler.seen.size();
        s.send(msg::kKeyDown);
        EXPECT_EQ(s.handler.seen.size(), before) << "input goes to the platform default only";
    });
    EXPECT_EQ(saver.components.runningFlags, (std::vector<bool>{true, false})) << "released when the loop ends";
}

TEST(Password, AbsentOrDisabledMeansNoCheck) {
    RunningSaver off(true, 0, [](RunningSaver& s) {
        s.send(msg::kClose);
        EXPECT_TRUE(s.shell.closing());
        EXPECT_EQ(s.components.verifierCalls, 0);
    });
    EXPECT_TRUE(off.components.runningFlags.empty());

    HostFixture missing;
    missing.components.win9x = true;
    missing.components.usePassword = 1;
    missing.components.hasPasswordCpl = false;
    missing.shell.saverMain(command("/s"));
    missing.shell.hostWindowProc(777, Message{msg::kClose, 0, 0});
    EXPECT_TRUE(missing.shell.closing());
}

TEST(Password, AutoPlayIsCancelledOnlyWhilePasswordProtected) {
    RunningSaver protectedSaver(true, 1, [](RunningSaver& s) {
        EXPECT_EQ(s.shell.defaultSaverProc(s.window, message(0xC123)), 1);
        EXPECT_EQ(s.platform.closeRequests(), 1);
    });
    RunningSaver open(true, 0, [](RunningSaver& s) { EXPECT_EQ(s.shell.defaultSaverProc(s.window, message(0xC123)), 0); });
    RunningSaver nt(false, std::nullopt, [](RunningSaver& s) {
        EXPECT_EQ(s.shell.defaultSaverProc(s.window, message(0xC123)), 0) << "no such message outside Win9x";
        EXPECT_EQ(s.platform.closeRequests(), 0);
    });
}
