// The Windows build under Wine: the registry store, the resources, the
// full-screen saver (stars, nebula, a key ends it, a second instance),
// the preview, and frames byte-identical to the Linux build's.
#include <gtest/gtest.h>

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

TEST(WineSaver, NebulaShowsWithCloudsTen) {
    WineSession wine;
    storeFlight(wine, {"Clouds=10", "Smoothness=90"});
    Child saver = wine.start(kSaver, {"/s"});
    wine.x().waitForFrames(60s);
    std::this_thread::sleep_for(2s);
    EXPECT_GT(wine.x().capture().colouredShare(), 0.5) << "a dim coloured haze";
    wine.x().xdotool("key Escape");
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
