// The Windows build under Wine: the registry store, the resources, the
// full-screen saver (stars, a key ends it, a second instance),
// the preview, files named by the settings, frames byte-identical to the
// Linux build's, and the settings dialog (its controls, Esc and Enter, a
// language file).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "tools/run_tool.h"
#include "wine_session.h"

namespace {

using namespace std::chrono_literals;

constexpr char kSaver[] = "bin/lumara.scr";

void storeFlight(WineSession& wine, const std::vector<std::string>& numbers) {
    std::vector<std::string> args = {"save"};
    args.insert(args.end(), numbers.begin(), numbers.end());
    ASSERT_EQ(wine.run("bin/settings_tool.exe", args, 120), 0);
}

}  // namespace

TEST(WineStore, SaveAndLoadAgreeInTheRegistry) {
    WineSession wine;
    std::string output;
    EXPECT_EQ(wine.run("bin/settings_tool.exe", {"roundtrip"}, 180, &output), 0) << output;
}

TEST(WineFiles, PipesDevicesAndFoldersAreRefusedAndPicturesAreJudgedFirst) {
    WineSession wine;
    const std::string folder = tmpPath("wine-files");
    std::filesystem::create_directories(folder);
    std::string output;
    EXPECT_EQ(wine.run("bin/file_check.exe", {"Z:" + folder}, 120, &output), 0) << output;
}

TEST(WineResources, MusicPictureStringsVersionAndManifest) {
    WineSession wine;
    std::string output;
    EXPECT_EQ(wine.run("bin/resource_check.exe", {"Z:" + windowsProgram(kSaver)}, 120, &output), 0) << output;
}

TEST(WineSaver, StarsCoverTheScreenAndAKeyEndsIt) {
    WineSession wine;
    storeFlight(wine, {"StarsCount=20000", "AntiAliase=5", "Smoothness=90", "Clouds=0"});
    Child saver = wine.start(kSaver, {"/s"});
    const Screenshot shot = wine.x().waitForFrames(60s);
    ASSERT_EQ(shot.width, 1280);
    EXPECT_TRUE(shot.litInEveryCell(4, 4, 20)) << "stars in every part of the screen";
    wine.x().xdotool("key space");
    EXPECT_EQ(saver.waitFor(30s), 0);
}

TEST(WineSaver, ASecondInstanceEndsWithZeroAndTheFirstRunsOn) {
    WineSession wine;
    storeFlight(wine, {"StarsCount=20000", "AntiAliase=5", "Smoothness=90"});
    Child first = wine.start(kSaver, {"/s"});
    wine.x().waitForFrames(60s);
    EXPECT_EQ(wine.run(kSaver, {"/s"}, 60), 0);
    EXPECT_TRUE(first.running());
    wine.x().xdotool("key space");
    EXPECT_EQ(first.waitFor(30s), 0);
}

// Wine does not draw a child window that another process owns, so the
// pane's pixels cannot show the picture; the pane program checks the
// window the saver makes in it, and the saver ends with the pane.
TEST(WinePreview, RunsInThePaneAndEndsWithIt) {
    WineSession wine;
    std::string output;
    EXPECT_EQ(wine.run("bin/preview_pane.exe", {"Z:" + windowsProgram(kSaver)}, 120, &output), 0) << output;
    EXPECT_NE(output.find("preview shown"), std::string::npos) << output;
    EXPECT_NE(output.find("saver exit 0"), std::string::npos) << output;
}

TEST(WineSaver, BadModeEndsWithMinusOne) {
    WineSession wine;
    EXPECT_EQ(wine.run(kSaver, {"/x"}, 60), 255);
    EXPECT_EQ(wine.run(kSaver, {"/p", "0"}, 60), 255);
}

// The star flight is integer arithmetic and the roaming's floating point is
// kept strict, so the Windows build draws the golden runs' very bytes.
TEST(WineFrames, TheGoldenRunsGiveTheirBytes) {
    WineSession wine;
    for (const size_t run : {3u, 4u, 5u}) {
        const GoldenRun& g = kGoldenRuns[run];
        const std::string raw = tmpPath("wine-golden" + std::to_string(run) + ".raw");
        std::vector<std::string> args;
        std::istringstream words(g.args);
        for (std::string word; words >> word;) args.push_back(word);
        args.insert(args.end(), {"--raw", "Z:" + raw});  // Wine's drive for the whole file system
        ASSERT_EQ(wine.run("tools/lumara-render/lumara-render.exe", args, 120), 0) << g.args;
        EXPECT_EQ(fingerprint(readFile(raw)), g.fingerprint) << g.args;
    }
}

namespace {

// The saver's key in the prefix's user hive as Wine keeps it, its time of
// last change included.
std::string storedUserKey() {
    std::ifstream hive(std::string(LUMARA_WINE_PREFIX) + "/user.reg");
    std::string line, key;
    bool inKey = false;
    while (std::getline(hive, line)) {
        if (!line.empty() && line[0] == '[') inKey = line.rfind("[Software\\\\Tellix\\\\VEXA]", 0) == 0;
        if (inKey) key += line + "\n";
    }
    return key;
}

// Opens the saver's settings, presses `key` and waits until the registry
// is written back; the exit status.
int settingsEndedWith(WineSession& wine, const std::string& key) {
    Child dialog = wine.start(kSaver, {"/c"});
    wine.x().waitForFrames(60s);
    std::this_thread::sleep_for(1s);
    wine.x().xdotool("key " + key);
    const int status = dialog.waitFor(30s).value_or(-1);
    wine.waitForAllPrograms();
    return status;
}

}  // namespace

TEST(WineDialogs, RealControlsEditTheSettingsAndOnlyOkStoresThem) {
    WineSession wine;
    std::string output;
    EXPECT_EQ(wine.run("bin/settings_dialog.exe", {"drive"}, 120, &output), 0) << output;
    EXPECT_EQ(wine.run("bin/settings_dialog.exe", {"cancel"}, 120, &output), 0) << output;
}

TEST(WineDialogs, TheGermanLanguageFileTranslatesCaptionsAndButtons) {
    WineSession wine;
    std::string output;
    const std::string german = "Z:" + std::string(LUMARA_WINDOWS_BUILD) + "/share/lumara/german.lang";
    EXPECT_EQ(wine.run("bin/settings_dialog.exe", {"german", german}, 120, &output), 0) << output;
}

TEST(WineDialogs, SaverSettingsEscStoresNothingAndEnterSaves) {
    WineSession wine;
    storeFlight(wine, {"StarsCount=4321"});
    ASSERT_EQ(wine.run("C:\\windows\\system32\\reg.exe",
                       {"delete", "HKCU\\Software\\Tellix\\VEXA", "/v", "HelpFile", "/f"}, 60), 0);
    wine.waitForAllPrograms();
    const std::string before = storedUserKey();
    ASSERT_NE(before.find("\"StarsCount\"=dword:000010e1"), std::string::npos) << before;

    EXPECT_EQ(settingsEndedWith(wine, "Escape"), 2);
    EXPECT_EQ(storedUserKey(), before);
    EXPECT_EQ(settingsEndedWith(wine, "Return"), 1);
    const std::string after = storedUserKey();
    EXPECT_NE(after.find("\"HelpFile\""), std::string::npos) << after;
    EXPECT_NE(after.find("\"StarsCount\"=dword:000010e1"), std::string::npos) << after;
}
