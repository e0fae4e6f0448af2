// The saver in a Wayland session, as a person there meets it: `lumara /s`
// over two outputs of headless sway (layer shell) spanning them with one
// frame, ended by a key, once per session, living through outputs that go
// and come or change mode (started on idle: idle_watcher_test.cpp); over
// GNOME's mutter (a full-screen toplevel) covering the monitor, ended by a
// key, a click or the mouse, and losing a monitor; the settings dialog on
// GTK's Wayland backend; the X11 modes refused.
#include <gtest/gtest.h>

#include <linux/input-event-codes.h>
#include <signal.h>

#include <regex>
#include <set>
#include <thread>

#include "real_saver.h"
#include "scratch_user.h"
#include "shown_frame.h"
#include "wayland_session.h"

namespace {

using namespace std::chrono_literals;

// Two outputs of different sizes, the second lower than the first: the
// layout's bounding rectangle is 2944 x 1280.
const std::vector<ScreenRect> kTwoOutputs{{0, 0, 1024, 768}, {1024, 200, 1920, 1080}};
constexpr ScreenRect kBounds{0, 0, 2944, 1280};

// The saver's store and the session's socket; no X11 display.
std::map<std::string, std::string> sessionEnvironment(const std::map<std::string, std::string>& session,
                                                      const StoredSettings& store) {
    auto env = saverEnvironment(std::string(), store.folder);
    for (const auto& [name, value] : session) env[name] = value;
    return env;
}

Child saverIn(const SwaySession& sway, const StoredSettings& store, std::vector<std::string> args) {
    args.insert(args.begin(), lumaraPath());
    return Child(args, sessionEnvironment(sway.environment(), store));
}

// Lit pixels of the output once it shows stars (`minimum` of them, and in
// each of its quarters with `everyQuarter`: else 0), or as it is when the
// wait has passed. Stars are lit pixels on black: sway's own grey, all lit,
// is what an output shows before the saver's surface is on it.
int waitForStars(SwaySession& sway, const std::string& output, int minimum = 500, bool everyQuarter = false) {
    int lit = 0;
    waitUntil([&] {
        const Screenshot shot = sway.capture(output);
        lit = everyQuarter && !shot.litInEveryCell(2, 2, 100) ? 0 : shot.litPixels(0, 0, shot.width, shot.height);
        if (lit >= shot.width * shot.height / 4) lit = 0;
        return lit >= minimum;
    }, kPatience, 200ms);
    return lit;
}

// What the output shows once two captures in a row agree: the compositor
// shows what a stopped saver committed last.
Screenshot settledCapture(SwaySession& sway, const std::string& output) {
    Screenshot last, shot = sway.capture(output);
    waitUntil([&] {
        last = std::move(shot);
        shot = sway.capture(output);
        return shot.rgb == last.rgb;
    });
    return shot;
}

bool swayInstalled() { return installed({"sway", "grim", "wtype", "swaymsg"}); }

// A key pressed on a keyboard wtype adds to the seat. The headless seat has
// no keyboard of its own, and clients take a new one on only after the
// compositor announces it: the key waits for that.
int pressKey(SwaySession& sway, const std::string& key) { return sway.run("wtype -s 300 -k " + key); }

// Presses `key` until `child` ends, its exit status: a client slower than
// wtype's wait takes its new keyboard on too late for the key.
std::optional<int> pressUntilEnded(SwaySession& sway, const std::string& key, Child& child) {
    std::optional<int> status;
    waitUntil([&] {
        EXPECT_EQ(pressKey(sway, key), 0);
        return (status = child.waitFor(2000ms)).has_value();
    });
    return status;
}

// sway's window tree once it holds a window of Lumara's.
std::string treeWithLumara(SwaySession& sway) {
    std::string tree;
    waitUntil([&] {
        sway.run("swaymsg -t get_tree", &tree);
        return tree.find("\"app_id\": \"lumara\"") != std::string::npos;
    }, kPatience, 200ms);
    return tree;
}

}  // namespace

// Each output shows its own part of one frame: stopped, the saver leaves
// its last frame on both; lumara-render's frame sequence at the bounding
// size, from the same stored settings, has a frame whose two parts are the
// two screenshots, byte for byte. The flight is sparse, so each buffer is
// brought to the frame by copying only the parts the last two frames
// changed. An output that goes then takes its part of the frame away and
// the flight goes on over the other; one that comes ends the run cleanly,
// as input would: the next start covers the new layout.
TEST(WaylandSaver, EachOutputShowsItsPartOfOneFrameAndOutputsMayGoAndCome) {
    if (!swayInstalled()) GTEST_SKIP() << "sway, grim or wtype is not installed";
    SwaySession sway(kTwoOutputs);
    ASSERT_TRUE(sway.ready()) << sway.errorOutput();
    StoredSettings store("wayland-span", [](Settings& s) {
        s.StarsCount = 1000;
        s.Smoothness = 90;
    });
    Child saver = saverIn(sway, store, {"/s"});
    EXPECT_GE(waitForStars(sway, "HEADLESS-1", 10), 10) << saver.errorOutput();
    EXPECT_GE(waitForStars(sway, "HEADLESS-2", 10), 10);
    saver.signal(SIGSTOP);
    const Screenshot left = settledCapture(sway, "HEADLESS-1"), right = settledCapture(sway, "HEADLESS-2");
    saver.signal(SIGCONT);
    ASSERT_TRUE(saver.running()) << saver.errorOutput();
    const FrameShown shown =
        frameShown(store, kBounds.width, kBounds.height, {{left, {0, 0, 1024, 768}}, {right, {1024, 200, 1920, 1080}}});
    ASSERT_GT(shown.frame, 0) << "the first output shows a frame of the flight";
    EXPECT_TRUE(shown.allParts) << "the second shows the same frame";

    ASSERT_EQ(sway.run("swaymsg output HEADLESS-2 disable"), 0);
    const Screenshot before = sway.capture("HEADLESS-1");
    EXPECT_TRUE(waitUntil([&] { return sway.capture("HEADLESS-1").rgb != before.rgb; })) << "the flight goes on";
    ASSERT_TRUE(saver.running()) << saver.errorOutput();
    ASSERT_EQ(sway.run("swaymsg create_output"), 0);
    EXPECT_EQ(saver.waitFor(), 0) << saver.errorOutput();
}

// Over one output, which shows the whole frame, the frame is drawn in the
// output's own buffers: it still shows the flight's very bytes, also where
// the compositor is told of a few changed parts only and the buffer the
// compositor gave back is brought to the last frame by a copy of them (a
// sparse flight), and with the nebula, which changes every pixel. A second
// instance ends at once; a key ends the saver within a second and, as on
// X11, SIGTERM ends it as a key does, with 0; the music plays.
TEST(WaylandSaver, OneOutputShowsItsFramesASecondInstanceEndsAtOnceAKeyOrSigtermEndsIt) {
    if (!swayInstalled()) GTEST_SKIP() << "sway, grim or wtype is not installed";
    SwaySession sway({{0, 0, 1024, 768}});
    ASSERT_TRUE(sway.ready()) << sway.errorOutput();
    const auto sparse = [](Settings& s) {
        s.StarsCount = 100;
        s.Smoothness = 90;
    };
    const auto nebula = [](Settings& s) {
        s.Clouds = 10;
        s.Smoothness = 90;
    };
    for (const auto adjust : {+sparse, +nebula}) {
        StoredSettings flight("wayland-parts", adjust);
        auto env = sessionEnvironment(sway.environment(), flight);
        env["WAYLAND_DEBUG"] = "client";
        Child saver({lumaraPath(), "/s"}, env);
        // Commits, and damaged parts smaller than the output, in its trace.
        const auto traced = [&](const char* pattern) {
            const std::string trace = saver.errorOutput();
            const std::regex message(pattern);
            return std::distance(std::sregex_iterator(trace.begin(), trace.end(), message), {});
        };
        EXPECT_TRUE(waitUntil([&] {
            return traced(R"(wl_surface@\d+\.commit\()") >= 60 &&
                   (adjust == +nebula || traced(R"(damage_buffer\((?!0, 0, 1024, 768\)))") >= 100);
        })) << "frames, and for the sparse flight parts of them";
        saver.signal(SIGSTOP);
        const Screenshot shot = settledCapture(sway, "HEADLESS-1");
        saver.signal(SIGCONT);
        EXPECT_GT(frameShown(flight, 1024, 768, {{shot, {0, 0, 1024, 768}}}).frame, 0)
            << "the output shows a frame of the flight";
        saver.signal(SIGTERM);
        EXPECT_EQ(saver.waitFor(), 0);
    }
    StoredSettings store("wayland-key", [](Settings& s) {
        denseFlight(s);
        s.BackSound = "D";
    });
    for (const bool byKey : {true, false}) {
        SCOPED_TRACE(byKey ? "key" : "SIGTERM");
        auto env = sessionEnvironment(sway.environment(), store);
        const std::string audio = soundToFile(env, store.folder);
        Child saver({lumaraPath(), "/s"}, env);
        if (byKey) {
            EXPECT_GE(waitForStars(sway, "HEADLESS-1"), 500) << saver.errorOutput();
            saver.signal(SIGSTOP);
            std::this_thread::sleep_for(300ms);
            const Screenshot shot = sway.capture("HEADLESS-1");
            saver.signal(SIGCONT);
            EXPECT_GT(frameShown(store, 1024, 768, {{shot, {0, 0, 1024, 768}}}).frame, 0)
                << "the output shows a frame of the flight";
        }
        EXPECT_TRUE(waitUntil([&] { return musicPasses(audio) >= 1; })) << "the built-in music";
        ASSERT_TRUE(saver.running()) << saver.errorOutput();
        if (byKey) {
            Child second = saverIn(sway, store, {"/s"});
            EXPECT_EQ(second.waitFor(), 0) << second.errorOutput();
            EXPECT_TRUE(saver.running());
            EXPECT_EQ(pressUntilEnded(sway, "space", saver), 0) << saver.errorOutput();
        } else {
            saver.signal(SIGTERM);
            EXPECT_EQ(saver.waitFor(), 0) << saver.errorOutput();
        }
    }
}

// An output's new mode or scale lays the frame out anew: over a single
// output, whose own buffers the frame is drawn in, stars fill it at its new
// size (800 x 600, then 400 x 300 units of the layout, shown twice as large).
TEST(WaylandSaver, OneOutputsNewModeOrScaleIsFollowed) {
    if (!swayInstalled()) GTEST_SKIP() << "sway, grim or wtype is not installed";
    SwaySession sway({{0, 0, 1024, 768}});
    ASSERT_TRUE(sway.ready()) << sway.errorOutput();
    StoredSettings store("wayland-mode", denseFlight);
    Child saver = saverIn(sway, store, {"/s"});
    EXPECT_GE(waitForStars(sway, "HEADLESS-1"), 500) << saver.errorOutput();
    for (const std::string change : {"mode 800x600", "scale 2"}) {
        SCOPED_TRACE(change);
        ASSERT_EQ(sway.run("swaymsg output HEADLESS-1 " + change), 0);
        EXPECT_GE(waitForStars(sway, "HEADLESS-1", 500, true), 500) << "stars in every quarter";
        EXPECT_EQ(sway.capture("HEADLESS-1").width, 800);
    }
    EXPECT_TRUE(saver.running()) << saver.errorOutput();
}

// Between frames the saver sleeps until the next is due: it wakes for the
// frame and for the compositor's answer to it (the buffer given back and
// the frame shown come together), a few times a frame at most (the bound is
// generous, so a busy machine cannot fail it).
TEST(WaylandSaver, ItWakesOnlyAFewTimesAFrame) {
    if (!swayInstalled()) GTEST_SKIP() << "sway, grim or wtype is not installed";
    SwaySession sway({{0, 0, 1024, 768}});
    ASSERT_TRUE(sway.ready()) << sway.errorOutput();
    StoredSettings store("wayland-wakes", [](Settings& s) {
        denseFlight(s);
        s.Smoothness = 50;
    });
    Child saver = saverIn(sway, store, {"/s"});
    EXPECT_GE(waitForStars(sway, "HEADLESS-1"), 500) << saver.errorOutput();
    EXPECT_LE(saver.wakeUpsAFrame(std::chrono::milliseconds(50)), 4.0);
    ASSERT_TRUE(saver.running());
}

TEST(WaylandSaver, LaterStartsEndAtOnceWhileTheFirstIsStopped) {
    if (!swayInstalled()) GTEST_SKIP() << "sway, grim or wtype is not installed";
    SwaySession sway({{0, 0, 1024, 768}});
    ASSERT_TRUE(sway.ready()) << sway.errorOutput();
    StoredSettings store("wayland-stopped-first", denseFlight);
    Child first = saverIn(sway, store, {"/s"});
    EXPECT_GE(waitForStars(sway, "HEADLESS-1"), 500) << first.errorOutput();
    laterStartsEndWhileTheFirstIsStopped(first, [&] { return saverIn(sway, store, {"/s"}); });
    EXPECT_EQ(pressUntilEnded(sway, "space", first), 0) << first.errorOutput();
}

// The settings dialog is a window of GTK's Wayland backend; /c:N names an
// X11 window, which a Wayland session has not: the number is passed over.
TEST(WaylandSettings, TheDialogOpensAsAWaylandWindowAndEscCancelsIt) {
    if (!swayInstalled()) GTEST_SKIP() << "sway, grim or wtype is not installed";
    SwaySession sway({{0, 0, 1280, 720}});
    ASSERT_TRUE(sway.ready()) << sway.errorOutput();
    StoredSettings store("wayland-dialog");
    for (const char* mode : {"", "/c:4242"}) {
        SCOPED_TRACE(mode);
        std::vector<std::string> args;
        if (*mode) args.push_back(mode);
        Child dialog = saverIn(sway, store, args);
        const std::string tree = treeWithLumara(sway);
        EXPECT_NE(tree.find("\"name\": \"Lumara Screensaver settings\""), std::string::npos) << dialog.errorOutput();
        EXPECT_NE(tree.find("\"shell\": \"xdg_shell\""), std::string::npos) << "a Wayland window, not Xwayland's";
        EXPECT_EQ(pressUntilEnded(sway, "Escape", dialog), 2) << dialog.errorOutput();
    }
}

namespace {

// From the saver's trace of its Wayland messages (libwayland's
// WAYLAND_DEBUG): how often requests or events match `pattern`, and which
// surfaces the keyboard focus entered.
int traced(const std::string& trace, const std::string& pattern) {
    const std::regex message(pattern);
    return static_cast<int>(std::distance(std::sregex_iterator(trace.begin(), trace.end(), message), {}));
}

std::set<std::string> keyboardFocusEntered(const std::string& trace) {
    std::set<std::string> surfaces;
    const std::regex enter(R"(wl_keyboard@\d+\.enter\(\d+, (wl_surface@\d+))");
    for (auto it = std::sregex_iterator(trace.begin(), trace.end(), enter); it != std::sregex_iterator(); ++it)
        surfaces.insert((*it)[1]);
    return surfaces;
}

// Frames (commits) after the saver destroyed its window on an output whose
// global went, once 2 or when the wait has passed; else -1. Found in turn in
// its trace: the global's name, the wl_output bound to it, the window full
// screen on it.
int framesAfterGoneOutputsWindow(Child& saver) {
    int frames = -1;
    waitUntil([&] {
        const std::string trace = saver.errorOutput();
        std::smatch found;
        bool seen = true;
        for (const auto& [before, after] : {std::pair{R"(\.global_remove\()", R"(\))"},
                                            {R"(bind\()", R"(, "wl_output", \d+, new id \[unknown\]@(\d+)\))"},
                                            {"(xdg_toplevel@\\d+)\\.set_fullscreen\\(wl_output@", R"(\))"}})
            seen = seen && std::regex_search(trace, found,
                                             std::regex(before + (found.empty() ? R"((\d+))" : found[1].str()) + after));
        const size_t destroyed = seen ? trace.find(found[1].str() + ".destroy()") : std::string::npos;
        frames = destroyed == std::string::npos ? -1 : traced(trace.substr(destroyed), R"(wl_surface@\d+\.commit\()");
        return frames >= 2;
    }, kPatience, 100ms);
    return frames;
}

bool mutterInstalled() { return installed({"mutter", "dbus-daemon"}); }

// The saver in `mutter`, writing its Wayland messages to stderr, once its
// window has the keyboard focus: shown full screen and taking input.
std::unique_ptr<Child> saverIn(const MutterSession& mutter, const StoredSettings& store) {
    auto env = sessionEnvironment(mutter.environment(), store);
    env["WAYLAND_DEBUG"] = "1";
    auto saver = std::make_unique<Child>(std::vector<std::string>{lumaraPath(), "/s"}, env);
    EXPECT_TRUE(waitUntil([&] { return !keyboardFocusEntered(saver->errorOutput()).empty() || !saver->running(); }));
    return saver;
}

int pointerEnters(Child& saver) { return traced(saver.errorOutput(), R"(wl_pointer@\d+\.enter\()"); }
int pointerMotions(Child& saver) { return traced(saver.errorOutput(), R"(wl_pointer@\d+\.motion\()"); }

// Mutter gives a new window the pointer only once the pointer moves over
// it, and on a loaded machine the window may take a while to be there for
// it: the pointer goes a pixel out of the corner (`corner`, as given to
// movePointer) and back until the saver is told it entered.
bool pointerShownTo(MutterSession& mutter, Child& saver, double corner) {
    return waitUntil([&] {
        const double out = corner < 0 ? 1 : -1;
        EXPECT_TRUE(mutter.movePointer(out, out) && mutter.movePointer(corner, corner));
        return waitUntil([&] { return pointerEnters(saver) >= 1; }, 2000ms, 200ms);
    });
}

}  // namespace

// GNOME's compositor has no layer shell: the saver is a full-screen window
// there. grim needs wlroots, so what it covers is seen through its input: a
// click in either far corner of the monitor reaches it. The pointer is put
// there (held at the monitor's edge) before the saver starts, so getting
// there is no motion of the saver's.
TEST(WaylandMutter, AFullScreenWindowCoversTheMonitorAndAKeyAClickOrTheMouseEndsIt) {
    if (!mutterInstalled()) GTEST_SKIP() << "mutter or dbus-daemon is not installed";
    MutterSession mutter({"1920x1080"});
    ASSERT_TRUE(mutter.ready()) << mutter.errorOutput();
    StoredSettings store("wayland-mutter");
    for (const double corner : {-10000.0, 10000.0}) {
        SCOPED_TRACE(corner);
        ASSERT_TRUE(mutter.movePointer(corner, corner));
        const auto saver = saverIn(mutter, store);
        ASSERT_TRUE(pointerShownTo(mutter, *saver, corner)) << saver->errorOutput();
        ASSERT_TRUE(mutter.click(BTN_LEFT));
        EXPECT_EQ(saver->waitFor(), 0) << "the click reached the saver";
        // Entered by the pointer, the saver took the cursor away.
        const std::string trace = saver->errorOutput();
        EXPECT_EQ(traced(trace, R"(wl_pointer@\d+\.enter\()"),
                  traced(trace, R"(wl_pointer@\d+\.set_cursor\(\d+, nil, 0, 0\))"));
    }
    {
        const auto saver = saverIn(mutter, store);
        ASSERT_TRUE(mutter.pressKey(KEY_SPACE));
        EXPECT_EQ(saver->waitFor(), 0) << saver->errorOutput();
    }
    {
        // Mutter tells a client where a pointer that rests is only once it
        // moves: shown to the saver in the corner (a pixel from it at
        // most), which counts the motion from there.
        const auto saver = saverIn(mutter, store);
        ASSERT_TRUE(pointerShownTo(mutter, *saver, 10000.0)) << saver->errorOutput();
        const int motions = pointerMotions(*saver);
        ASSERT_TRUE(mutter.movePointer(-3, 0));
        EXPECT_TRUE(waitUntil([&] { return pointerMotions(*saver) > motions; }, kPatience, 200ms));
        EXPECT_TRUE(saver->running()) << "3 pixels are not enough";
        ASSERT_TRUE(mutter.movePointer(-3, 0));
        EXPECT_EQ(saver->waitFor(), 0) << "6 pixels are";
    }
}

// Over two monitors the saver has a window on each, and mutter moves the
// keyboard focus from the first to the second as they appear: that is no
// loss. Another program's window taking the focus is one.
TEST(WaylandMutter, TheFocusMovingBetweenItsWindowsKeepsItAndAnotherWindowTakingItEndsIt) {
    if (!mutterInstalled()) GTEST_SKIP() << "mutter or dbus-daemon is not installed";
    MutterSession mutter({"1024x768", "1920x1080"});
    ASSERT_TRUE(mutter.ready()) << mutter.errorOutput();
    StoredSettings store("wayland-mutter-focus");
    const auto saver = saverIn(mutter, store);
    waitUntil([&] { return keyboardFocusEntered(saver->errorOutput()).size() >= 2 || !saver->running(); });
    ASSERT_TRUE(saver->running());
    const std::string trace = saver->errorOutput();
    EXPECT_EQ(traced(trace, R"(xdg_toplevel@\d+\.set_fullscreen\()"), 2) << "a window per monitor";
    EXPECT_EQ(keyboardFocusEntered(trace).size(), 2u) << "the focus went from one window to the other";
    Child dialog({lumaraPath(), "/c"}, sessionEnvironment(mutter.environment(), store));
    EXPECT_EQ(saver->waitFor(), 0) << "the settings dialog took the focus";
}

// A monitor taken out of the layout removes its output (sway 1.7 keeps a
// disabled one's): the saver's window there goes with it, the flight goes on
// in the other, and the monitor put back ends the run as a new output does.
TEST(WaylandMutter, AMonitorThatGoesTakesItsWindowAlongAndOneThatComesBackEndsTheRun) {
    if (!mutterInstalled()) GTEST_SKIP() << "mutter or dbus-daemon is not installed";
    MutterSession mutter({"1024x768", "1920x1080"});
    ASSERT_TRUE(mutter.ready()) << mutter.errorOutput();
    StoredSettings store("wayland-mutter-outputs");
    const auto saver = saverIn(mutter, store);
    ASSERT_TRUE(mutter.layOut({"Meta-1"}));
    EXPECT_GE(framesAfterGoneOutputsWindow(*saver), 2) << "its window destroyed, then frames in the other";
    ASSERT_TRUE(saver->running()) << saver->errorOutput();
    ASSERT_TRUE(mutter.layOut({"Meta-1", "Meta-0"}));
    EXPECT_EQ(saver->waitFor(), 0) << "ended by the output that came";
    EXPECT_EQ(traced(saver->errorOutput(), R"(\.global\(\d+, "wl_output")"), 3);
}
