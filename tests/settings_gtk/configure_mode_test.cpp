// `lumara /c` as the desktop starts it: the dialog ended by real keys, the
// exit status and the store file.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <thread>

#include "gtk_desktop.h"
#include "platform_linux/temp_folder.h"
#include "settings/settings_store.h"

namespace {

using namespace std::chrono_literals;

struct ConfigureRun {
    explicit ConfigureRun(const std::string& name) : folder(scratchFolder("configure/" + name)) {
        std::filesystem::remove(user());
    }
    std::map<std::string, std::string> environment(const std::string& display) const {
        return {{"DISPLAY", display},
                {"LUMARA_USER_STORE", user()},
                {"LUMARA_MACHINE_STORE", folder + "/machine.reg"},
                {"XDG_CACHE_HOME", folder + "/cache"},
                // GTK and its libraries keep allocations to the end of the process.
                {"ASAN_OPTIONS", "detect_leaks=0"}};
    }
    std::string user() const { return folder + "/user.reg"; }
    std::string folder;
};

// Waits until the settings dialog shows, then presses `key`.
void pressWhenShown(const std::string& key) {
    for (int tries = 0; tries < 100; ++tries) {
        if (testDisplay().xdotool("search --onlyvisible --name \"Lumara Screensaver settings\"") == 0) break;
        std::this_thread::sleep_for(100ms);
    }
    std::this_thread::sleep_for(300ms);
    testDisplay().xdotool("key " + key);
}

TEST(ConfigureMode, EscEndsWithTwoAndLeavesTheStoreByteForByte) {
    ConfigureRun run("esc");
    Settings s;
    s.StarsCount = 12345;
    FileStore store(run.user(), run.folder + "/machine.reg");
    ASSERT_TRUE(SaveSettings(s, store).ok());
    const std::string before = fileText(run.user());
    Child dialog({lumaraPath(), "/c"}, run.environment(testDisplay().displayName()));
    pressWhenShown("Escape");
    EXPECT_EQ(dialog.waitFor(5000ms), 2) << dialog.errorOutput();
    EXPECT_EQ(fileText(run.user()), before);
}

TEST(ConfigureMode, EnterEndsWithOneAndSavesTheSettings) {
    ConfigureRun run("enter");
    Child dialog({lumaraPath(), "/c"}, run.environment(testDisplay().displayName()));
    pressWhenShown("Return");
    EXPECT_EQ(dialog.waitFor(5000ms), 1) << dialog.errorOutput();
    ASSERT_TRUE(std::filesystem::exists(run.user()));
    EXPECT_NE(fileText(run.user()).find("\"StarsCount\""), std::string::npos);
}

TEST(ConfigureMode, WithoutADisplayItSaysSoInOneLine) {
    ConfigureRun run("no-display");
    Child dialog({lumaraPath()}, run.environment(""));
    EXPECT_EQ(dialog.waitFor(5000ms), 255);
    const std::string said = dialog.errorOutput();
    EXPECT_NE(said.find("no display"), std::string::npos) << said;
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
}

}  // namespace
