// The saver as a screen-saver daemon runs it: drawn into a window it is
// given, deaf to input, following the window's size, ended by SIGTERM (by
// that signal, once it has cleaned up) or by the window going away; the
// frame rate with -fps on the display -display names; and the command line
// that explains itself; the libraries the saver's modes map. "-root" into
// the daemon's window: the xscreensaver test.
#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <thread>

#include "real_saver.h"
#include "ui/dialog_ids.h"
#include "ui/dialog_template.h"

namespace {

std::string hex(Window w) {
    char text[32];
    std::snprintf(text, sizeof text, "0x%lx", w);
    return text;
}

}  // namespace

TEST(HackMode, DrawsStarsIntoTheGivenWindowFollowsItsSizeIgnoresInputAndEndsOnSigterm) {
    X11Session x;
    ASSERT_TRUE(x.ready());
    const Window w = x.makeWindow(0, 0, 400, 300);
    StoredSettings store("hack-window-id");
    // No DISPLAY: the display is the one -display names.
    std::map<std::string, std::string> environment = saverEnvironment(x, store);
    environment["DISPLAY"] = "";
    Child hack({lumaraPath(), "-display", x.displayName(), "-window-id", hex(w), "-stars", "20000", "-delay",
                "10000", "-fps"},
               environment);
    const Screenshot shot = x.paintedOver(w);
    // Stars all over the window, none of the white it was made with.
    EXPECT_TRUE(shot.litInEveryCell(2, 2, 20));
    EXPECT_LT(shot.litPixels(0, 0, 400, 300, 250), 400 * 300 / 10);
    // The frame rate's "F" in the bottom left corner, white in its black box
    // (one pixel a dot below 480 rows).
    const char* f[] = {"#####", "#....", "#....", "####.", "#....", "#....", "#...."};
    for (int row = 0; row < 7; ++row)
        for (int column = 0; column < 5; ++column) {
            const uint8_t red = shot.at(1 + column, 292 + row)[0];
            EXPECT_EQ(red > 250 ? '#' : red == 0 ? '.' : '?', f[row][column]) << column << ", " << row;
        }

    XResizeWindow(x.display(), w, 640, 480);
    XSync(x.display(), False);
    x.xdotool("mousemove 10 10 click 1 key space mousemove 300 200");
    Screenshot grown;
    waitUntil([&] {
        grown = x.capture(w);
        return grown.width == 640 && grown.litPixels(400, 0, 640, 480, 250) < 1000;
    });
    ASSERT_EQ(grown.width, 640);
    EXPECT_GT(grown.litPixels(400, 0, 640, 480), 200) << "stars in the part the window grew by";
    EXPECT_LT(grown.litPixels(400, 0, 640, 480, 250), 1000) << "none of the white the window was made with";
    ASSERT_TRUE(hack.running()) << "the daemon owns input";

    hack.signal(SIGTERM);
    EXPECT_EQ(hack.waitFor(), 128 + SIGTERM) << hack.errorOutput();
}

// The window given by its decimal number; its going away ends the hack.
TEST(HackMode, OptionsChangeTheFrameForOneRunOutOfRangeIsRefusedAndTheWindowGoingEndsIt) {
    X11Session x;
    StoredSettings store("hack-options");
    auto litWith = [&x, &store](std::vector<std::string> options) {
        const Window w = x.makeWindow(0, 0, 320, 240);
        options.insert(options.begin(), {"-window-id", std::to_string(w), "-delay", "10000"});
        Child hack = saverIn(x, store, options);
        const int lit = x.paintedOver(w).litPixels(0, 0, 320, 240);
        XDestroyWindow(x.display(), w);
        XSync(x.display(), False);
        EXPECT_EQ(hack.waitFor(), 0) << hack.errorOutput();
        return lit;
    };
    const int few = litWith({"-stars", "100"});
    const int many = litWith({"-stars", "20000", "-antialias", "blurred"});
    EXPECT_GT(few, 0);
    EXPECT_GT(many, 20 * few) << few << " " << many;

    Child refused = saverIn(x, store, {"-root", "-stars", "50"});
    EXPECT_EQ(refused.waitFor(), 255);
    EXPECT_EQ(refused.errorOutput(), "lumara: -stars 50: expected 100 to 20000 (see --help)\n");
}

// SIGTERM ends a hack by that signal from the program's first moment on:
// before, during and after SDL starts. Without a session bus the saver asks
// for none: the bus library would start one through dbus-launch, or take
// the socket $XDG_RUNTIME_DIR/bus, where the test listens.
TEST(HackMode, AnEarlySigtermEndsItByTheSignalAndWithoutASessionBusItAsksForNone) {
    X11Session x;
    ASSERT_TRUE(x.ready());
    StoredSettings store("early-sigterm");
    const std::string runtime = scratchFolder("early-sigterm-runtime");
    std::filesystem::permissions(runtime, std::filesystem::perms::owner_all);
    sockaddr_un bus{};
    bus.sun_family = AF_UNIX;
    std::snprintf(bus.sun_path, sizeof bus.sun_path, "%s/bus", runtime.c_str());
    ::unlink(bus.sun_path);
    const int listener = socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK, 0);
    ASSERT_EQ(bind(listener, reinterpret_cast<sockaddr*>(&bus), sizeof bus), 0);
    ASSERT_EQ(listen(listener, 16), 0);
    auto env = saverEnvironment(x, store);
    env["DBUS_SESSION_BUS_ADDRESS"] = "";
    env["XDG_RUNTIME_DIR"] = runtime;
    for (int run = 0; run < 60; ++run) {
        Child hack({lumaraPath(), "-root"}, env);
        std::this_thread::sleep_for(std::chrono::milliseconds(run * 150 / 59));
        hack.signal(SIGTERM);
        EXPECT_EQ(hack.waitFor(), 128 + SIGTERM) << "after " << run * 150 / 59 << " ms: " << hack.errorOutput();
    }
    Child hack({lumaraPath(), "-root"}, env);
    x.waitForFrames();
    hack.signal(SIGTERM);
    EXPECT_EQ(hack.waitFor(), 128 + SIGTERM);
    EXPECT_LT(accept(listener, nullptr, nullptr), 0) << "a connection to the session bus";
    close(listener);
}

// A window larger than any frame Lumara draws is not drawn into (a frame
// of 32767 x 32767 is 4 GB), neither from the start nor when it grows
// beyond the bound.
TEST(HackMode, AWindowBeyondTheFrameBoundIsNotDrawnIntoAndEndsItWithALine) {
    X11Session x;
    ASSERT_TRUE(x.ready());
    StoredSettings store("huge-window");
    const std::string said = "lumara: the window is 32767x32767, larger than the 16384x16384 Lumara draws at most\n";
    const Window huge = x.makeWindow(0, 0, 32767, 32767);
    Child refused = saverIn(x, store, {"-window-id", hex(huge)});
    EXPECT_EQ(refused.waitFor(), 255);
    EXPECT_EQ(refused.errorOutput(), said);

    const Window w = x.makeWindow(0, 0, 320, 240);
    Child grown = saverIn(x, store, {"-window-id", hex(w)});
    x.paintedOver(w);
    XResizeWindow(x.display(), w, 32767, 32767);
    XSync(x.display(), False);
    EXPECT_EQ(grown.waitFor(), 255);
    EXPECT_EQ(grown.errorOutput(), said);
}

// The saver's modes map nothing of the settings dialog (GTK, its help's
// chmlib): only the dialog loads them, from its module.
TEST(SaverLibraries, TheSaversModesMapNoneOfTheDialogsLibrariesAndTheDialogLoadsThem) {
    X11Session x;
    ASSERT_TRUE(x.ready());
    StoredSettings store("libraries", denseFlight);
    const char* dialogOnly[] = {"lumara-settings.so", "libgtk-3", "libgdk-3", "libgdk_pixbuf", "libpango",
                                "libcairo", "libharfbuzz", "libgio-2", "libchm"};
    for (const char* mode : {"-root", "/s"}) {
        SCOPED_TRACE(mode);
        Child saver = saverIn(x, store, {mode});
        // Running once it draws: -root into the root window, which stays
        // lit after it, /s in a window of its own.
        if (mode[0] == '-') x.waitForFrames();
        else ASSERT_NE(x.shownWindow(kSaverTitle), 0u) << saver.errorOutput();
        const std::string maps = saver.mappings();
        ASSERT_NE(maps.find("libSDL2"), std::string::npos) << "running, with its own libraries";
        for (const char* library : dialogOnly) EXPECT_EQ(maps.find(library), std::string::npos) << library;
        saver.signal(SIGTERM);
        EXPECT_EQ(saver.waitFor(), 128 + SIGTERM) << saver.errorOutput();
    }
    // The module maps its libraries one after another.
    Child dialog = saverIn(x, store, {"/c"});
    std::string maps;
    waitUntil([&] {
        maps = dialog.mappings();
        return std::ranges::all_of(dialogOnly, [&](const char* library) { return maps.find(library) != std::string::npos; });
    });
    for (const char* library : dialogOnly) EXPECT_NE(maps.find(library), std::string::npos) << library;
}

// The option lines are hackUsage()'s; here: the store the environment names.
TEST(SaverCommandLine, HelpAndVersionAnswerAndUnknownArgumentsAreNamed) {
    Child help({lumaraPath(), "--help"}, {{"DISPLAY", ""}, {"LUMARA_USER_STORE", scratchFolder("help") + "/user.reg"}});
    EXPECT_EQ(help.waitFor(), 0);
    EXPECT_NE(help.output().find("-window-id"), std::string::npos) << help.output();
    EXPECT_NE(help.output().find("help/user.reg"), std::string::npos) << help.output();

    // One version: the build's, whose major and minor the About box shows.
    Child version({lumaraPath(), "--version"}, {});
    EXPECT_EQ(version.waitFor(), 0);
    std::string productLine;
    for (const ControlTemplate& c : findDialogTemplate(dlg::kAbout)->controls)
        if (c.id == dlg::kProductLine) productLine = c.text;
    const std::string shown = productLine.substr(productLine.rfind(" v.") + 3);
    EXPECT_EQ(version.output().rfind("lumara " + shown + ".", 0), 0u) << version.output() << productLine;

    for (const char* bad : {"--frobnicate", "/x", "-q"}) {
        Child run({lumaraPath(), bad}, {{"DISPLAY", ""}});
        EXPECT_EQ(run.waitFor(), 255) << bad;
        EXPECT_EQ(run.errorOutput(), "lumara: unknown argument '" + std::string(bad) + "' (see lumara --help)\n");
    }
}
