#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/linux/store/file_store.h"
#include "settings/settings_store.h"
#include "temp_folder.h"

namespace {

// Runs lumara-render with the given store files and arguments; the raw frame.
std::string render(const std::string& dir, const std::string& args) {
    const std::string out = dir + "/frame.raw";
    std::filesystem::remove(out);
    const std::string command = "LUMARA_USER_STORE='" + dir + "/user.reg' LUMARA_MACHINE_STORE='" + dir +
                                "/machine.reg' " LUMARA_RENDER_COMMAND " --size 96x64 --frames 4 --raw '" + out +
                                "' " + args;
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
    return fileText(out);
}

}  // namespace

TEST(RenderFromStore, LoadsTheStoredSettingsAsTheSaverDoes) {
    const std::string dir = freshTestFolder();
    // Nothing stored: the same frame as a first run.
    EXPECT_EQ(render(dir, "--from-store"), render(dir, ""));

    Settings s;
    static_cast<FlightParameters&>(s) = {800, 900, 40, 50, 20, 60, 0, 3, false};
    FileStore store(dir + "/user.reg", dir + "/machine.reg");
    ASSERT_TRUE(SaveSettings(s, store).ok());

    const std::string stored = render(dir, "--from-store");
    const std::string sameFlight =
        " --set MoveSpeed=900 --set RotSpeed=40 --set Smoothness=50 --set RoamFreq=20 --set RoamMagn=60 --set AntiAliase=3";
    EXPECT_EQ(stored, render(dir, "--set StarsCount=800" + sameFlight));
    EXPECT_NE(stored, render(dir, ""));
    // --set still applies on top of the stored settings.
    EXPECT_EQ(render(dir, "--from-store --set StarsCount=100"), render(dir, "--set StarsCount=100" + sameFlight));
}
