// The Linux saver as a person meets it: started in a private X server,
// looked at, and ended by a key, a click or the mouse.
#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>

#include "real_saver.h"
#include "shown_frame.h"

namespace {

std::string fifoInSettings() { return scratchFolder("fifo") + "/named.fifo"; }

// A dense flight (10 ms frames: the field fills and nears quickly) with the
// FIFO as its language, sound and picture.
void fifoFlight(Settings& s) {
    s.StarsCount = 20000;
    s.AntiAliase = 5;
    s.Smoothness = 90;
    s.Language = fifoInSettings();
    s.BackSound = s.Language;
    s.UseNUR = true;
    s.NURimages = {s.Language};
}

}  // namespace

// A FIFO named by the settings would wait for a writer for ever; the saver
// must treat it as a file that cannot be opened and run as usual. The screen
// shows the frames lumara-render draws, byte for byte: stopped, the saver
// leaves its last frame on the screen, one of the flight's.
TEST(SaverRun, StarsCoverTheScreenAsTheFlightsFramesAndAKeyEndsItEvenWithAFifoNamedInTheSettings) {
    const std::string fifo = fifoInSettings();
    std::filesystem::remove(fifo);
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    X11Session x;
    ASSERT_TRUE(x.ready());
    StoredSettings store("fifo", fifoFlight);
    Child saver = saverIn(x, store, {"/s"});
    const Screenshot shot = x.waitForFrames();
    ASSERT_EQ(shot.width, 1280);
    EXPECT_TRUE(shot.litInEveryCell(4, 4, 20)) << "stars in every part of the screen";
    saver.signal(SIGSTOP);
    const Screenshot still = x.settledCapture();
    saver.signal(SIGCONT);
    EXPECT_GT(frameShown(store, 1280, 720, {{still, {0, 0, 1280, 720}}}).frame, 0);
    ASSERT_TRUE(saver.running());
    x.xdotool("key space");
    EXPECT_EQ(saver.waitFor(), 0) << saver.errorOutput();
    std::filesystem::remove(fifo);
}

// The screen is the flight's frame byte for byte, though a frame hands the
// X server only the cells it changed: also where a window lay and went
// (the frame is handed over whole again; cells alone would leave the white
// it showed where no star is) and around the frame rate's box, the run's
// own. With the nebula every pixel changes.
TEST(SaverRun, ShownInItsChangedPartsTheScreenIsTheFlightsFrameWhereAWindowWentAroundTheRateAndWithTheNebula) {
    struct Case {
        const char* name;
        void (*adjust)(Settings&);
        std::vector<std::string> arguments;
    };
    const Case cases[] = {{"its own window", nullptr, {"/s"}},
                          {"the root window, with the rate", nullptr, {"-root", "-fps"}},
                          {"the nebula", [](Settings& s) { s.Clouds = 10; }, {"/s"}}};
    const ScreenRect cover{200, 100, 640, 400};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        X11Session x;
        ASSERT_TRUE(x.ready());
        StoredSettings store("changed-parts", c.adjust);
        Child saver = saverIn(x, store, c.arguments);
        const auto lit = [&](const ScreenRect& r, int level) {
            return x.capture().litPixels(r.left, r.top, r.left + r.width, r.top + r.height, level);
        };
        ASSERT_TRUE(waitUntil([&] { return lit({0, 0, 1280, 720}, 8) > 150; })) << "stars";
        const Window w = x.makeWindow(cover.left, cover.top, cover.width, cover.height);
        ASSERT_TRUE(waitUntil([&] { return lit(cover, 250) == cover.width * cover.height; }));
        XDestroyWindow(x.display(), w);
        XSync(x.display(), False);
        EXPECT_TRUE(waitUntil([&] { return lit(cover, 250) < cover.width * cover.height / 100 && lit(cover, 8) > 20; }))
            << "drawn again";
        // Some frames more, handed over in their changed parts.
        Screenshot last = x.capture();
        for (int frame = 0; frame < 5; ++frame)
            ASSERT_TRUE(waitUntil([&] {
                Screenshot now = x.capture();
                std::swap(now, last);
                return now.rgb != last.rgb;
            }));
        saver.signal(SIGSTOP);
        const Screenshot still = x.settledCapture();
        saver.signal(SIGCONT);
        // All but the bottom left corner, where the rate is.
        const ScreenRect above{0, 0, 1280, 680}, right{400, 680, 880, 40};
        const FrameShown shown =
            frameShown(store, 1280, 720, {{cropped(still, above), above}, {cropped(still, right), right}});
        EXPECT_GT(shown.frame, 0);
        EXPECT_TRUE(shown.allParts);
        ASSERT_TRUE(saver.running()) << saver.errorOutput();
    }
}

// Between frames the saver sleeps until the next one is due: it wakes for
// the frame and for the display's answer to it, a few times a frame at
// most (the bound is generous, so a busy machine cannot fail it).
TEST(SaverRun, ItWakesOnlyAFewTimesAFrame) {
    X11Session x;
    ASSERT_TRUE(x.ready());
    StoredSettings store("wakes", [](Settings& s) {
        denseFlight(s);  // stars enough to be seen at once
        s.Smoothness = 50;
    });
    Child saver = saverIn(x, store, {"/s"});
    x.waitForFrames();
    EXPECT_LE(saver.wakeUpsAFrame(std::chrono::milliseconds(50)), 4.0);
    ASSERT_TRUE(saver.running());
}

// SDL's button and motion events reach the close rules: a click ends it,
// and so does a move of five pixels from where the pointer stood. A second
// instance started meanwhile ends, and the first runs on.
TEST(SaverRun, AClickOrAMoveOfTheMouseEndsItAndASecondInstanceEnds) {
    for (const char* input : {"click 1", "mousemove 103 102"}) {
        SCOPED_TRACE(input);
        X11Session x;
        StoredSettings store("input");
        x.xdotool("mousemove 100 100");
        Child saver = saverIn(x, store, {"/s"});
        ASSERT_NE(x.shownWindow(kSaverTitle), 0u) << saver.errorOutput();
        EXPECT_EQ(saverIn(x, store, {"/s"}).waitFor(), 0) << "the second instance";
        ASSERT_TRUE(saver.running()) << saver.errorOutput();
        x.xdotool(input);
        EXPECT_EQ(saver.waitFor(), 0) << saver.errorOutput();
    }
}

TEST(SaverRun, LaterStartsEndAtOnceWhileTheFirstIsStopped) {
    X11Session x;
    StoredSettings store("stopped-first", denseFlight);
    Child first = saverIn(x, store, {"/s"});
    x.waitForFrames();
    laterStartsEndWhileTheFirstIsStopped(first, [&] { return saverIn(x, store, {"/s"}); });
    x.xdotool("key space");
    EXPECT_EQ(first.waitFor(), 0) << first.errorOutput();
}

TEST(SaverPreview, ShowsThePictureInThePaneAndEndsWithIt) {
    X11Session x;
    ASSERT_TRUE(x.ready());
    const Window pane = x.makeWindow(50, 50, 152, 112);
    StoredSettings store("preview");
    Child preview = saverIn(x, store, {"/p", std::to_string(pane)});
    const Screenshot shot = x.paintedOver(pane);
    ASSERT_TRUE(preview.running()) << preview.errorOutput();
    EXPECT_GT(shot.litPixels(1, 0, 151, 112), 100) << "stars and nebula of the picture";
    EXPECT_LT(shot.litPixels(0, 0, 152, 112, 250), 152 * 112 / 10) << "the pane's white was painted over";
    XDestroyWindow(x.display(), pane);
    XSync(x.display(), False);
    EXPECT_EQ(preview.waitFor(), 0);
}

// The preview's pane and the daemon's window must be windows of this display.
// A number too wide for an X11 window reads as an absent one.
TEST(SaverCommandLine, WindowsThatAreNotThereEndItWithMinusOne) {
    X11Session x;
    StoredSettings store("no-window");
    const struct {
        std::vector<std::string> args;
        const char* daemonWindow;
        std::string said;
    } absent[] = {{{"/p", "12345"}, "", "/p 12345 names no window"},
                  {{"/p", "x"}, "", "/p 0 names no window"},
                  {{"-root"}, "0x7", "XSCREENSAVER_WINDOW names no window"},
                  {{"-window-id", "0x1234567"}, "", "-window-id names no window"},
                  {{"-window-id", "0x7fffffff"}, "", "-window-id names no window"}};
    for (const auto& c : absent) {
        SCOPED_TRACE(c.args.back());
        auto env = saverEnvironment(x, store);
        env["XSCREENSAVER_WINDOW"] = c.daemonWindow;
        std::vector<std::string> args = c.args;
        args.insert(args.begin(), lumaraPath());
        Child run(args, env);
        EXPECT_EQ(run.waitFor(), 255);
        EXPECT_EQ(run.errorOutput(), "lumara: " + c.said + " on this display\n");
    }
}

TEST(SaverCommandLine, WithoutADisplayOrWithACompositorThatDoesNotAnswerItSaysSo) {
    Child run({lumaraPath(), "/s"}, {{"DISPLAY", ""}, {"WAYLAND_DISPLAY", ""}});
    EXPECT_NE(run.waitFor().value_or(0), 0);
    EXPECT_NE(run.errorOutput().find("xvfb-run"), std::string::npos) << run.errorOutput();
    // A Wayland compositor not there, one that never answers (hung, stopped)
    // and one whose queue of connections is full: one line names it, and 1.
    for (const int queue : {-1, 16, 0}) {
        const std::string socketName = scratchFolder("silent") + "/wayland-" + std::to_string(queue);
        sockaddr_un address{AF_UNIX, {}};
        socketName.copy(address.sun_path, sizeof address.sun_path - 1);
        unlink(address.sun_path);
        const int listening = socket(AF_UNIX, SOCK_STREAM, 0), waiting = socket(AF_UNIX, SOCK_STREAM, 0);
        const auto at = reinterpret_cast<const sockaddr*>(&address);
        ASSERT_TRUE(queue < 0 || (bind(listening, at, sizeof address) | listen(listening, queue)) == 0);
        ASSERT_TRUE(queue != 0 || connect(waiting, at, sizeof address) == 0) << "the one place in the queue";
        Child silent({lumaraPath(), "/s"}, {{"DISPLAY", ""}, {"WAYLAND_DISPLAY", socketName}});
        EXPECT_EQ(silent.waitFor(), 1) << queue;
        const std::string said = silent.errorOutput();
        EXPECT_TRUE(said.rfind("lumara: no display to run on (wayland: ", 0) == 0 && said.find(socketName) != said.npos)
            << said;
        close(waiting);
        close(listening);
    }
}

// The preview pane and the daemon's window are X11 windows: in a Wayland
// session without X11 these modes end at once, saying why.
TEST(SaverCommandLine, UnderWaylandAloneTheX11ModesSayWhy) {
    const std::vector<std::vector<std::string>> x11Modes{
        {"/p", "123"}, {"/l", "123"}, {"-root"}, {"-window-id", "0x1"}, {"-window"}, {"-stars", "100"}};
    for (std::vector<std::string> args : x11Modes) {
        SCOPED_TRACE(args.front());
        args.insert(args.begin(), lumaraPath());
        Child run(args, {{"DISPLAY", ""}, {"WAYLAND_DISPLAY", "wayland-0"}});
        EXPECT_EQ(run.waitFor(), 255);
        EXPECT_NE(run.errorOutput().find("this Wayland session has no X11 display"), std::string::npos)
            << run.errorOutput();
    }
}

TEST(SaverSound, TheBuiltInMusicLoops) {
    X11Session x;
    StoredSettings store("sound", [](Settings& s) { s.BackSound = "D"; });
    auto env = saverEnvironment(x, store);
    const std::string audio = soundToFile(env, store.folder);
    Child saver({lumaraPath(), "/s"}, env);
    EXPECT_TRUE(waitUntil([&] { return musicPasses(audio) >= 2; })) << "the second pass repeats the first";
    ASSERT_NE(x.shownWindow(kSaverTitle), 0u) << saver.errorOutput();
    x.xdotool("key space");
    EXPECT_EQ(saver.waitFor(), 0);
}
