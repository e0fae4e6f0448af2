// The Windows build's saver under Wine: full screen (stars, a key ends it,
// a second instance), frames byte-identical to the Linux build's, and its
// settings dialog's Esc and Enter. The build's own test programs
// (programs/) check the rest from the inside; CTest runs each of their
// cases (run_under_wine.sh).
#include <gtest/gtest.h>

#include <fstream>
#include <optional>
#include <sstream>

#include "tools/run_tool.h"
#include "wine_session.h"

namespace {

using namespace std::chrono_literals;

constexpr char kSaver[] = "bin/lumara.scr";

void storeFlight(WineSession& wine, const std::vector<std::string>& numbers) {
    ASSERT_EQ(wine.run("bin/store_flight.exe", numbers, 120), 0);
}

}  // namespace

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
    for (size_t run = 0; run < std::size(kGoldenRuns); ++run) {
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
    std::ifstream hive(wineSetup().prefix + "/user.reg");
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
    // The dialog takes keys a moment after it shows: the key is pressed
    // until the dialog ends.
    std::optional<int> status;
    waitUntil([&] {
        wine.x().xdotool("key " + key);
        return (status = dialog.waitFor(5s)).has_value();
    });
    wine.waitForAllPrograms();
    return status.value_or(-1);
}

}  // namespace

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
