// The Windows build under Wine: the registry store, the resources, the
// full-screen saver (stars, a key ends it, a second instance), the preview,
// files named by the settings, frames byte-identical to the Linux build's,
// the help viewer, and the settings dialog (its controls, Esc and Enter, a
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

// The programs that check a part of the Windows build from the inside,
// each printing its failed checks.
struct ProgramRun {
    std::string name, program;
    std::vector<std::string> args;
    std::vector<std::string> said;  // what its output must hold
    std::string locale = {};        // Wine's locale (LC_ALL), when not the default
};

void PrintTo(const ProgramRun& run, std::ostream* out) { *out << run.program; }

class WineProgram : public ::testing::TestWithParam<ProgramRun> {};

TEST_P(WineProgram, PassesItsChecks) {
    const ProgramRun& p = GetParam();
    WineSession wine;
    if (!p.locale.empty()) wine.environment["LC_ALL"] = p.locale;
    std::filesystem::create_directories(tmpPath("wine-files"));  // file_check's scratch folder
    std::string output;
    EXPECT_EQ(wine.run(p.program, p.args, 180, &output), 0) << output;
    for (const std::string& part : p.said) EXPECT_NE(output.find(part), std::string::npos) << output;
}

// The registry store; files named by the settings (pipes, devices and
// folders refused, pictures judged first); the saver's resources and the
// built-in texts in the ANSI code page, also a double-byte one; the
// preview (Wine does not draw a child window another process owns, so the
// pane program checks the window the saver makes in it, and that the saver
// ends with the pane); the help file's topic in the HTML Help viewer through
// the dialogs' own help routing (Wine has no HTML engine here, so the window
// and its title from the file are what is checked); the real dialogs in
// German from the shipped language file.
INSTANTIATE_TEST_SUITE_P(
    Windows, WineProgram,
    ::testing::Values(
        ProgramRun{"Store", "bin/settings_tool.exe", {"roundtrip"}, {}},
        ProgramRun{"Files", "bin/file_check.exe", {"Z:" + tmpPath("wine-files")}, {}},
        ProgramRun{"Resources", "bin/resource_check.exe", {"Z:" + windowsProgram(kSaver), "1252"}, {}},
        ProgramRun{"ResourcesInChinese", "bin/resource_check.exe", {"Z:" + windowsProgram(kSaver), "936"}, {},
                   "zh_CN.UTF-8"},
        ProgramRun{"Preview", "bin/preview_pane.exe", {"Z:" + windowsProgram(kSaver)}, {"preview shown", "saver exit 0"}},
        ProgramRun{"HelpTopic",
                   "bin/help_viewer.exe",
                   {"Z:" + windowsProgram("bin/Lumara Help (English).chm"), "::/settings.htm#tab2",
                    "Lumara Screensaver Help"},
                   {}},
        ProgramRun{"GermanDialogs",
                   "bin/settings_dialog.exe",
                   {"german", "Z:" + std::string(LUMARA_WINDOWS_BUILD) + "/share/lumara/german.lang"},
                   {}}),
    [](const auto& test) { return test.param.name; });

// Stars fill the screen; a second instance ends at once with 0 while the
// first runs on, and a key ends the first.
TEST(WineSaver, StarsCoverTheScreenASecondInstanceEndsAndAKeyEndsIt) {
    WineSession wine;
    storeFlight(wine, {"StarsCount=20000", "AntiAliase=5", "Smoothness=90", "Clouds=0"});
    Child saver = wine.start(kSaver, {"/s"});
    const Screenshot shot = wine.x().waitForFrames(60s);
    ASSERT_EQ(shot.width, 1280);
    EXPECT_TRUE(shot.litInEveryCell(4, 4, 20)) << "stars in every part of the screen";
    EXPECT_EQ(wine.run(kSaver, {"/s"}, 60), 0);
    EXPECT_TRUE(saver.running());
    wine.x().xdotool("key space");
    EXPECT_EQ(saver.waitFor(30s), 0);
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
    EXPECT_EQ(wine.run("bin/settings_dialog.exe", {"page-esc"}, 120, &output), 0) << output;
    EXPECT_EQ(wine.run("bin/settings_dialog.exe", {"page-enter"}, 120, &output), 0) << output;
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
