// `lumara --idle` in real sessions: headless sway (org_kde_kwin_idle), KWin
// (ext_idle_notifier_v1), mutter (its idle monitor on the session bus) and
// Xvfb (MIT-SCREEN-SAVER). The watcher starts the saver once the session
// has been idle for 3 s (--idle 0.05; 6 s where input once a second is to
// hold it off, which a busy machine may delay), input ends it and it starts again
// after the next idle time, also after the saver was killed; what keeps the
// session from idling keeps it off; a second watcher, another screen saver
// on X11 and a session without idle time end it at once; the session going
// away ends it too. And the switch that has it started at login.
#include <gtest/gtest.h>
#include <linux/input-event-codes.h>
#include <signal.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <thread>

#include "real_saver.h"
#include "scratch_user.h"
#include "wayland_session.h"

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

using Env = std::map<std::string, std::string>;

Env sessionEnvironment(const Env& session, const StoredSettings& store) {
    auto env = saverEnvironment(std::string(), store.folder);
    for (const auto& [name, value] : session) env[name] = value;
    return env;
}

Child watcherIn(const Env& env, const char* minutes = "0.05") { return Child({lumaraPath(), "--idle", minutes}, env); }

// The savers the watcher started in the session `variable` names.
struct Savers {
    std::string variable;
    std::vector<pid_t> running() const { return runningProcesses("lumara", variable); }
    bool start() const {
        return waitUntil([&] { return running().size() == 1; });
    }
    bool end(std::chrono::milliseconds limit = kPatience) const {
        return waitUntil([&] { return running().empty(); }, limit);
    }
    // Ended by keys: the first may come before the saver's window has the
    // keyboard, on a busy machine.
    bool endBy(const std::function<void()>& key) const {
        return waitUntil([&] {
            key();
            return end(1s);
        });
    }
    ~Savers() {
        for (const pid_t pid : running()) kill(pid, SIGKILL);
    }
};

bool said(Child& child, const std::string& text) {
    return waitUntil([&] { return child.errorOutput().find(text) != std::string::npos; });
}

// Keeps `act` going once a second for `seconds`; false when a saver started meanwhile.
bool keptOff(const Savers& savers, int seconds, const std::function<void()>& act) {
    for (int i = 0; i < seconds; ++i) {
        act();
        std::this_thread::sleep_for(1s);
        if (!savers.running().empty()) return false;
    }
    return true;
}

}  // namespace

TEST(IdleWatcher, UnderSwayInputEndsTheSaverKillsAreSurvivedAndAnInhibitorKeepsItOff) {
    if (!installed({"sway", "wtype", "swaymsg"})) GTEST_SKIP() << "sway or wtype is not installed";
    auto sway = std::make_unique<SwaySession>(std::vector<ScreenRect>{{0, 0, 1024, 768}});
    ASSERT_TRUE(sway->ready()) << sway->errorOutput();
    StoredSettings store("idle-sway");
    const Env env = sessionEnvironment(sway->environment(), store);
    const Savers savers{"WAYLAND_DISPLAY=" + env.at("WAYLAND_DISPLAY")};
    const auto key = [&](const char* name) { return sway->run(std::string("wtype -s 500 -k ") + name); };
    Child watcher = watcherIn(env);
    ASSERT_TRUE(savers.start()) << watcher.errorOutput();
    EXPECT_TRUE(said(watcher, "(org_kde_kwin_idle)")) << watcher.errorOutput();
    Child second = watcherIn(env);
    EXPECT_EQ(second.waitFor(), 0) << "one watcher per session";

    const auto space = [&] { key("space"); };
    EXPECT_TRUE(savers.endBy(space)) << "input ends the saver";
    EXPECT_TRUE(savers.start()) << "and it starts again after the next idle time";
    kill(savers.running().front(), SIGKILL);
    ASSERT_TRUE(savers.end());
    EXPECT_EQ(key("space"), 0);
    EXPECT_TRUE(savers.start()) << "the watcher watches on after the saver was killed";
    ASSERT_TRUE(savers.endBy(space));

    // A window sway keeps idle off for, as it does a playing video's.
    Child dialog({lumaraPath(), "/c"}, env);
    ASSERT_TRUE(waitUntil([&] {
        std::string tree;
        sway->run("swaymsg -t get_tree", &tree);
        return tree.find("\"app_id\": \"lumara\"") != std::string::npos;
    }));
    ASSERT_EQ(sway->run("swaymsg '[app_id=lumara] inhibit_idle open'"), 0);
    // A key the dialog passes over starts the idle time anew, and ends a
    // saver that started while the dialog was still opening.
    ASSERT_TRUE(savers.endBy([&] { key("Shift_L"); }));
    EXPECT_TRUE(keptOff(savers, 8, [] {})) << "no saver while idle is inhibited";
    EXPECT_EQ(key("Escape"), 0);
    EXPECT_EQ(dialog.waitFor(), 2);
    EXPECT_TRUE(savers.start()) << "started once the inhibiting window is gone";

    sway.reset();
    EXPECT_EQ(watcher.waitFor(), 1) << "the compositor went away";
    EXPECT_TRUE(said(watcher, "went away"));
}

TEST(IdleWatcher, UnderKwinTheStandardIdleProtocolStartsTheSaver) {
    if (!installed({"kwin_wayland"})) GTEST_SKIP() << "kwin_wayland is not installed";
    KwinSession kwin;
    ASSERT_TRUE(kwin.ready()) << kwin.errorOutput();
    StoredSettings store("idle-kwin");
    const Env env = sessionEnvironment(kwin.environment(), store);
    const Savers savers{"WAYLAND_DISPLAY=" + env.at("WAYLAND_DISPLAY")};
    Child watcher = watcherIn(env);
    EXPECT_TRUE(savers.start()) << watcher.errorOutput();
    EXPECT_TRUE(said(watcher, "(ext_idle_notifier_v1)")) << watcher.errorOutput();
}

// Mutter offers neither Wayland idle protocol: the watcher goes on to its
// idle monitor, on the bus the session has.
TEST(IdleWatcher, UnderMutterTheIdleMonitorStartsTheSaverAndInputHoldsItOff) {
    if (!installed({"mutter", "dbus-daemon"})) GTEST_SKIP() << "mutter or dbus-daemon is not installed";
    auto mutter = std::make_unique<MutterSession>(std::vector<std::string>{"1024x768"});
    ASSERT_TRUE(mutter->ready()) << mutter->errorOutput();
    StoredSettings store("idle-mutter");
    Env env = sessionEnvironment(mutter->environment(), store);
    env["DBUS_SESSION_BUS_ADDRESS"] = mutter->busAddress();
    const Savers savers{"WAYLAND_DISPLAY=" + env.at("WAYLAND_DISPLAY")};
    ASSERT_TRUE(mutter->pressKey(KEY_LEFTSHIFT));
    Child watcher = watcherIn(env, "0.1");
    ASSERT_TRUE(said(watcher, "(org.gnome.Mutter.IdleMonitor)")) << watcher.errorOutput();
    EXPECT_TRUE(keptOff(savers, 6, [&] { mutter->pressKey(KEY_LEFTSHIFT); })) << "input resets the idle time";
    EXPECT_TRUE(savers.start()) << watcher.errorOutput();
    EXPECT_TRUE(savers.endBy([&] { mutter->pressKey(KEY_SPACE); }));
    EXPECT_TRUE(savers.start()) << "again after the next idle time";

    mutter.reset();
    EXPECT_EQ(watcher.waitFor(), 1) << "the session bus went away";
}

TEST(IdleWatcher, OnX11InputAndScreenSaverResetsHoldItOffAndAnotherSaverMakesItStandAside) {
    X11Session x;
    ASSERT_TRUE(x.ready());
    StoredSettings store("idle-x11", denseFlight);
    Env env = saverEnvironment(x, store);
    env.insert({{"WAYLAND_DISPLAY", ""}, {"DBUS_SESSION_BUS_ADDRESS", ""}, {"XDG_RUNTIME_DIR", ""}});
    const Savers savers{"DISPLAY=" + x.displayName()};
    const auto xset = [&](const std::string& args) {
        return std::system(("DISPLAY=" + x.displayName() + " xset " + args).c_str());
    };
    {
        ASSERT_EQ(x.xdotool("key shift"), 0);
        Child watcher = watcherIn(env, "0.1");
        ASSERT_TRUE(said(watcher, "(MIT-SCREEN-SAVER)")) << watcher.errorOutput();
        EXPECT_TRUE(keptOff(savers, 6, [&] { xset("s reset"); })) << "what a video player does";
        EXPECT_TRUE(keptOff(savers, 6, [&] { x.xdotool("mousemove_relative 1 1"); }));
        EXPECT_TRUE(savers.start()) << watcher.errorOutput();
        EXPECT_GE(x.waitForFrames().litPixels(0, 0, 1280, 720), 2000) << "stars";
        EXPECT_TRUE(savers.endBy([&] { x.xdotool("key space"); })) << "a key ends it";
    }
    // The X server's own saver, on before Lumara would start, and xscreensaver own the display.
    ASSERT_EQ(xset("s 2"), 0);
    Child standing = watcherIn(env);
    EXPECT_EQ(standing.waitFor(), 0);
    EXPECT_TRUE(said(standing, "the X server's own screen saver")) << standing.errorOutput();
    ASSERT_EQ(xset("s off"), 0);
    if (!installed({"xscreensaver"})) GTEST_SKIP() << "xscreensaver is not installed";
    const std::string home = reachableFolder("idle-xscreensaver");
    std::ofstream(home + "/.xscreensaver") << "timeout: 0:30:00\nlock: False\nsplash: False\nmode: blank\n";
    const auto asUser = asScratchUser(home);
    ASSERT_TRUE(asUser.has_value());
    std::vector<std::string> daemon = *asUser;
    daemon.insert(daemon.end(), {"/usr/bin/env", "HOME=" + home, "/usr/bin/xscreensaver", "-no-splash"});
    Child xscreensaver(daemon, {{"DISPLAY", x.displayName()}});
    EXPECT_TRUE(waitUntil([&] {
        // Started before the daemon has said it runs, the watcher stays and
        // watches: a bounded wait, and another try.
        Child aside = watcherIn(env);
        return aside.waitFor(10s) == 0 && aside.errorOutput().find("xscreensaver runs") != std::string::npos;
    })) << xscreensaver.errorOutput();
    xscreensaver.signal(SIGTERM);
    xscreensaver.waitFor();
    fs::remove_all(home);
}

// --idle-enable writes an autostart entry that runs this program with
// --idle, --idle-disable removes it; a session that tells no idle time
// ends the watcher at once with 1.
TEST(IdleWatcher, TheSwitchWritesAndRemovesTheAutostartEntryAndNoIdleTimeEndsTheWatcher) {
    const std::string config = scratchFolder("idle-switch");
    fs::remove_all(config);
    const Env env{{"XDG_CONFIG_HOME", config}};
    const std::string entry = config + "/autostart/lumara-idle.desktop";
    Child enable({lumaraPath(), "--idle-enable", "7.5"}, env);
    EXPECT_EQ(enable.waitFor(), 0) << enable.errorOutput();
    EXPECT_NE(fileText(entry).find("\nExec=" + lumaraPath() + " --idle 7.5\n"), std::string::npos) << fileText(entry);
    Child disable({lumaraPath(), "--idle-disable"}, env);
    EXPECT_EQ(disable.waitFor(), 0) << disable.errorOutput();
    EXPECT_FALSE(fs::exists(entry));
    EXPECT_EQ(Child({lumaraPath(), "--idle-disable"}, env).waitFor(), 0) << "nothing left to remove is no fault";

    Child bare({lumaraPath(), "--idle", "5"}, {{"DISPLAY", ""},
                                               {"WAYLAND_DISPLAY", ""},
                                               {"DBUS_SESSION_BUS_ADDRESS", ""},
                                               {"XDG_RUNTIME_DIR", config}});
    EXPECT_EQ(bare.waitFor(), 1);
    EXPECT_TRUE(said(bare, "tells no idle time")) << bare.errorOutput();
}
