// The saver as a screen-saver daemon runs it: drawn into a window it is
// given, deaf to input, following the window's size, ended by SIGTERM or by
// the window going away; and the command line that explains itself.
#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <signal.h>

#include <cstdio>
#include <thread>

#include "platform/linux/linux_folder_system.h"
#include "stored_settings.h"
#include "x11_session.h"

namespace {

using namespace std::chrono_literals;

std::string hex(Window w) {
    char text[32];
    std::snprintf(text, sizeof text, "0x%lx", w);
    return text;
}

// A plain window of the test's own, as a daemon would make one.
Window makeWindow(X11Session& x, int width, int height) {
    Display* d = x.display();
    const Window w = XCreateSimpleWindow(d, DefaultRootWindow(d), 0, 0, width, height, 0, 0, WhitePixel(d, 0));
    XMapWindow(d, w);
    XSync(d, False);
    return w;
}

// Lit pixels of the window once it shows at least `atLeast`, or as it is at the limit.
Screenshot waitForLit(X11Session& x, Window w, int atLeast, std::chrono::milliseconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    Screenshot shot;
    do {
        std::this_thread::sleep_for(200ms);
        shot = x.capture(w);
    } while (shot.litPixels(0, 0, shot.width, shot.height) < atLeast && std::chrono::steady_clock::now() < end);
    return shot;
}

std::vector<std::string> lumara(std::vector<std::string> args) {
    args.insert(args.begin(), lumaraPath());
    return args;
}

}  // namespace

TEST(HackMode, DrawsStarsIntoTheGivenWindowIgnoresInputAndEndsOnSigterm) {
    X11Session x;
    ASSERT_TRUE(x.ready());
    const Window w = makeWindow(x, 400, 300);
    StoredSettings store("hack-window-id");
    Child hack(lumara({"-window-id", hex(w), "-stars", "20000", "-fps", "100"}), saverEnvironment(x, store));
    const Screenshot shot = waitForLit(x, w, 300, 8s);
    // Stars all over the window, none of the white it was made with.
    for (int q = 0; q < 4; ++q)
        EXPECT_GT(shot.litPixels(q % 2 * 200, q / 2 * 150, q % 2 * 200 + 200, q / 2 * 150 + 150), 20) << q;
    EXPECT_LT(shot.litPixels(0, 0, 400, 300, 250), 400 * 300 / 10);

    x.xdotool("mousemove 10 10 click 1 key space mousemove 300 200");
    std::this_thread::sleep_for(500ms);
    ASSERT_TRUE(hack.running()) << "the daemon owns input";

    hack.signal(SIGTERM);
    EXPECT_EQ(hack.waitFor(1000ms), 0) << hack.errorOutput();
}

TEST(HackMode, FollowsTheWindowsSizeAndEndsWithTheWindow) {
    X11Session x;
    const Window w = makeWindow(x, 200, 150);
    StoredSettings store("hack-resize");
    Child hack(lumara({"-window-id", std::to_string(w), "-stars", "20000", "-fps", "100"}), saverEnvironment(x, store));
    waitForLit(x, w, 100, 8s);
    XResizeWindow(x.display(), w, 640, 480);
    XSync(x.display(), False);
    std::this_thread::sleep_for(1500ms);
    const Screenshot shot = x.capture(w);
    ASSERT_EQ(shot.width, 640);
    EXPECT_GT(shot.litPixels(320, 240, 640, 480), 200) << "stars in the part the window grew by";
    EXPECT_LT(shot.litPixels(200, 150, 640, 480, 250), 1000) << "none of the white the window was made with";

    XDestroyWindow(x.display(), w);
    XSync(x.display(), False);
    EXPECT_EQ(hack.waitFor(1000ms), 0) << hack.errorOutput();
}

TEST(HackMode, RootDrawsIntoTheDaemonsWindow) {
    X11Session x;
    const Window w = makeWindow(x, 320, 240);
    StoredSettings store("hack-root");
    auto env = saverEnvironment(x, store);
    env["XSCREENSAVER_WINDOW"] = hex(w);
    Child hack(lumara({"-root"}), env);
    EXPECT_GT(waitForLit(x, w, 50, 8s).litPixels(0, 0, 320, 240), 50) << hack.errorOutput();
    hack.signal(SIGTERM);
    EXPECT_EQ(hack.waitFor(1000ms), 0);

    env["XSCREENSAVER_WINDOW"] = "0x7";
    Child nowhere(lumara({"-root"}), env);
    EXPECT_EQ(nowhere.waitFor(5000ms), 255);
    EXPECT_NE(nowhere.errorOutput().find("XSCREENSAVER_WINDOW names no window"), std::string::npos);
}

TEST(HackMode, OptionsChangeTheFrameForOneRunAndOutOfRangeIsRefused) {
    X11Session x;
    StoredSettings store("hack-options");
    auto litWith = [&x, &store](std::vector<std::string> options) {
        const Window w = makeWindow(x, 320, 240);
        options.insert(options.begin(), {"-window-id", hex(w), "-fps", "100"});
        Child hack(lumara(options), saverEnvironment(x, store));
        std::this_thread::sleep_for(2500ms);
        const int lit = x.capture(w).litPixels(0, 0, 320, 240);
        hack.signal(SIGTERM);
        EXPECT_EQ(hack.waitFor(1000ms), 0);
        XDestroyWindow(x.display(), w);
        return lit;
    };
    const int few = litWith({"-stars", "100"});
    const int many = litWith({"-stars", "20000", "-antialias", "blurred"});
    EXPECT_GT(few, 0);
    EXPECT_GT(many, 20 * few) << few << " " << many;
    Settings stored;
    FileStore files(store.user(), store.machine());
    LinuxFolderSystem folders = LinuxFolderSystem::forThisProcess();
    LoadSettings(stored, files, folders);
    EXPECT_EQ(stored.StarsCount, 2000) << "the stored settings stay";

    Child refused(lumara({"-root", "-stars", "50"}), saverEnvironment(x, store));
    EXPECT_EQ(refused.waitFor(5000ms), 255);
    EXPECT_EQ(refused.errorOutput(), "lumara: -stars 50: expected 100 to 20000 (see --help)\n");
}

TEST(SaverCommandLine, HelpAndVersionAnswerAndUnknownArgumentsAreNamed) {
    Child help(lumara({"--help"}), {{"DISPLAY", ""}, {"LUMARA_USER_STORE", scratchFolder("help") + "/user.reg"}});
    EXPECT_EQ(help.waitFor(5000ms), 0);
    for (const char* part : {"/s", "/p WINDOW", "-root", "-window-id", "-window", "-stars N", "-fps N",
                             "help/user.reg", "share/lumara", "german.lang"})
        EXPECT_NE(help.output().find(part), std::string::npos) << part << "\n" << help.output();

    Child version(lumara({"--version"}), {});
    EXPECT_EQ(version.waitFor(5000ms), 0);
    EXPECT_EQ(version.output().rfind("lumara ", 0), 0u);

    for (const char* bad : {"--frobnicate", "/x", "-q"}) {
        Child run(lumara({bad}), {{"DISPLAY", ""}});
        EXPECT_EQ(run.waitFor(5000ms), 255) << bad;
        EXPECT_EQ(run.errorOutput(), "lumara: unknown argument '" + std::string(bad) + "' (see lumara --help)\n");
    }
}
