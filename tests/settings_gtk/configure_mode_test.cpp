// `lumara /c` as the desktop starts it: the dialog ended by real keys, the
// exit status and the store file; the window the dialog is kept over.
#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <optional>

#include <X11/Xatom.h>
#include <X11/Xutil.h>

#include "dialogs/dialog_placement.h"
#include "gtk_desktop.h"
#include "platform_linux/temp_folder.h"
#include "saver_linux/saver_environment.h"
#include "settings/settings_store.h"

namespace {

using namespace std::chrono_literals;

struct ConfigureRun {
    explicit ConfigureRun(const std::string& name) : folder(scratchFolder("configure/" + name)) {
        std::filesystem::remove(user());
    }
    std::map<std::string, std::string> environment(const std::string& display) const {
        return saverEnvironment(display, folder);
    }
    std::string user() const { return folder + "/user.reg"; }
    std::string folder;
};

// The settings dialog another process shows on the test's display, once it
// is mapped; 0 when none shows.
Window shownSettingsDialog() { return testDisplay().shownWindow("Lumara Screensaver settings"); }

// Once the settings dialog shows, presses `key` until the dialog ends (GTK
// may take a key only a moment after the window shows); its exit status.
std::optional<int> endedByKey(Child& dialog, const std::string& key) {
    EXPECT_NE(shownSettingsDialog(), 0u) << dialog.errorOutput();
    std::optional<int> status;
    waitUntil([&] {
        testDisplay().xdotool("key " + key);
        return (status = dialog.waitFor(1000ms)).has_value();
    });
    return status;
}

TEST(ConfigureMode, EscEndsWithTwoAndLeavesTheStoreByteForByte) {
    ConfigureRun run("esc");
    Settings s;
    s.StarsCount = 12345;
    FileStore store(run.user(), run.folder + "/machine.reg");
    ASSERT_TRUE(SaveSettings(s, store).ok());
    const std::string before = fileText(run.user());
    Child dialog({lumaraPath(), "/c"}, run.environment(testDisplay().displayName()));
    EXPECT_EQ(endedByKey(dialog, "Escape"), 2) << dialog.errorOutput();
    EXPECT_EQ(fileText(run.user()), before);
}

// The user's own lines in the store outlive the save: a comment stays, and
// an export's deletion lines are done, not taken for damage (which would
// have given the first run's star count).
TEST(ConfigureMode, EnterEndsWithOneAndSavesTheSettingsKeepingTheUsersLines) {
    ConfigureRun run("enter");
    Settings s;
    s.StarsCount = 12345;
    FileStore store(run.user(), run.folder + "/machine.reg");
    ASSERT_TRUE(SaveSettings(s, store).ok());
    writeText(run.user(), fileText(run.user()) +
                              "[-HKEY_CURRENT_USER\\Software\\Gone]\r\n"
                              "[HKEY_CURRENT_USER\\Software\\Tellix\\VEXA]\r\n\"Stale\"=-\r\n"
                              "; my own note\r\n"
                              "[HKEY_CURRENT_USER\\Software\\Other]\r\n\"Kept\"=dword:00000001\r\n");
    Child dialog({lumaraPath(), "/c"}, run.environment(testDisplay().displayName()));
    EXPECT_EQ(endedByKey(dialog, "Return"), 1) << dialog.errorOutput();
    const std::string saved = fileText(run.user());
    EXPECT_NE(saved.find("\"StarsCount\"=dword:00003039"), std::string::npos) << saved;
    EXPECT_NE(saved.find("; my own note\r\n[HKEY_CURRENT_USER\\Software\\Other]\r\n\"Kept\""), std::string::npos)
        << saved;
    EXPECT_EQ(saved.find("=-"), std::string::npos) << saved;
}

// "/c:N" keeps the dialog over window N and centres it there; without a
// number it is the active window's; a window that is not shown leaves the
// dialog centred on the screen (1280 x 720, no panels).
TEST(ConfigureMode, TheDialogIsKeptOverTheWindowItIsFor) {
    Display* x = testDisplay().display();
    const Window named = testDisplay().makeWindow(700, 300, 400, 200);
    const Window active = testDisplay().makeWindow(100, 100, 300, 300);
    const Window hidden = testDisplay().makeWindow(0, 0, 100, 100);
    XUnmapWindow(x, hidden);
    XChangeProperty(x, DefaultRootWindow(x), XInternAtom(x, "_NET_ACTIVE_WINDOW", False), XA_WINDOW, 32,
                    PropModeReplace, reinterpret_cast<const unsigned char*>(&active), 1);
    XSync(x, False);
    struct Case {
        std::string argument;
        Window owner;
        std::optional<PixelRect> shownAt;
    };
    for (const Case& c : {Case{"/c:" + std::to_string(named), named, PixelRect{700, 300, 1100, 500}},
                          Case{"/c", active, PixelRect{100, 100, 400, 400}},
                          Case{"/c:" + std::to_string(hidden), hidden, std::nullopt}}) {
        SCOPED_TRACE(c.argument);
        ConfigureRun run("owner");
        Child dialog({lumaraPath(), c.argument}, run.environment(testDisplay().displayName()));
        const Window shown = shownSettingsDialog();
        ASSERT_NE(shown, 0u) << dialog.errorOutput();
        Window owner = 0, child = 0;
        EXPECT_TRUE(XGetTransientForHint(x, shown, &owner));
        EXPECT_EQ(owner, c.owner);
        XWindowAttributes a;
        XGetWindowAttributes(x, shown, &a);
        int left = 0, top = 0;
        XTranslateCoordinates(x, shown, DefaultRootWindow(x), 0, 0, &left, &top, &child);
        const PixelRect placed = centredPlacement(a.width, a.height, c.shownAt, {0, 0, 1280, 720});
        EXPECT_EQ(left, placed.left);
        EXPECT_EQ(top, placed.top);
        dialog.signal(SIGTERM);
        dialog.waitFor();
    }
    XDeleteProperty(x, DefaultRootWindow(x), XInternAtom(x, "_NET_ACTIVE_WINDOW", False));
    for (const Window w : {named, active, hidden}) XDestroyWindow(x, w);
    XSync(x, False);
}

TEST(ConfigureMode, WithoutADisplayItSaysSoInOneLine) {
    ConfigureRun run("no-display");
    Child dialog({lumaraPath()}, run.environment(""));
    EXPECT_EQ(dialog.waitFor(), 255);
    const std::string said = dialog.errorOutput();
    EXPECT_NE(said.find("no display"), std::string::npos) << said;
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
}

}  // namespace
