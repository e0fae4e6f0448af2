// The Linux saver as a person meets it: started in a private X server,
// looked at, and ended by a key, a click or the mouse.
#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <signal.h>
#include <sys/stat.h>

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
TEST(SaverCommandLine, WindowsThatAreNotThereEndItWithMinusOne) {
    X11Session x;
    StoredSettings store("no-window");
    EXPECT_EQ(saverIn(x, store, {"/p", "12345"}).waitFor(), 255);
    auto env = saverEnvironment(x, store);
    env["XSCREENSAVER_WINDOW"] = "0x7";
    Child nowhere({lumaraPath(), "-root"}, env);
    EXPECT_EQ(nowhere.waitFor(), 255);
    EXPECT_NE(nowhere.errorOutput().find("XSCREENSAVER_WINDOW names no window"), std::string::npos);
    // A number too wide for an X11 window reads as an absent one.
    for (const char* window : {"0x1234567", "0x7fffffff"}) {
        Child absent = saverIn(x, store, {"-window-id", window});
        EXPECT_EQ(absent.waitFor(), 255) << window;
        EXPECT_NE(absent.errorOutput().find("-window-id names no window"), std::string::npos) << window;
    }
}

TEST(SaverCommandLine, WithoutADisplayItSaysSo) {
    Child run({lumaraPath(), "/s"}, {{"DISPLAY", ""}, {"WAYLAND_DISPLAY", ""}});
    EXPECT_NE(run.waitFor().value_or(0), 0);
    EXPECT_NE(run.errorOutput().find("xvfb-run"), std::string::npos) << run.errorOutput();
    // A Wayland session whose compositor is not there.
    Child gone({lumaraPath(), "/s"}, {{"DISPLAY", ""}, {"WAYLAND_DISPLAY", "/nonexistent/wayland-9"}});
    EXPECT_EQ(gone.waitFor(), 1);
    const std::string said = "no display to run on (wayland: no compositor answers at /nonexistent/wayland-9)";
    EXPECT_NE(gone.errorOutput().find(said), std::string::npos) << gone.errorOutput();
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
