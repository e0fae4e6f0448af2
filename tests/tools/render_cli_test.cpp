#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

#include "base/message_text.h"
#include "render_options.h"
#include "run_tool.h"

TEST(RenderCli, WritesEachImageKindAndTheRawFrame) {
    const std::string png = tmpPath("cli.png"), ppm = tmpPath("cli.ppm"), bmp = tmpPath("cli.bmp"),
                      raw = tmpPath("cli.raw");
    for (const auto& p : {png, ppm, bmp, raw}) std::remove(p.c_str());
    ASSERT_EQ(runRender("--size 33x17 --frames 3 --out " + png), 0);
    ASSERT_EQ(runRender("--size 33x17 --frames 3 --out " + ppm + " --raw " + raw), 0);
    ASSERT_EQ(runRender("--size 33x17 --frames 3 --format 23 --out " + bmp), 0);

    const auto pngBytes = readFile(png);
    ASSERT_GE(pngBytes.size(), 8u);
    EXPECT_EQ(std::memcmp(pngBytes.data(), "\x89PNG", 4), 0);
    const auto ppmBytes = readFile(ppm);
    const std::string header = "P6\n33 17\n255\n";
    ASSERT_EQ(ppmBytes.size(), header.size() + 33 * 17 * 3);
    EXPECT_EQ(std::string(ppmBytes.begin(), ppmBytes.begin() + static_cast<long>(header.size())), header);
    EXPECT_EQ(readFile(bmp).at(0), 'B');
    EXPECT_EQ(readFile(raw).size(), 33u * 17 * 4) << "raw rows carry no pitch padding";
}

TEST(RenderCli, BadArgumentsExitTwoAndWriteNothing) {
    const std::string out = tmpPath("bad.png");
    const char* cases[] = {
        "--size 0x10", "--size 16385x10", "--size 10", "--size axb", "--size 10x10x", "--size 99999999999x1",
        "--frames 0", "--frames -3", "--frames lots", "--format 20", "--format 25", "--format 2x",
        "--set Unknown=3", "--set StarsCount", "--set StarsCount=ten", "--set StarsCount=99999999999",
        "--set =5", "--bogus 1", "--size",
    };
    for (const char* args : cases) {
        std::remove(out.c_str());
        EXPECT_EQ(runRender(std::string(args) + " --out " + out), 2) << args;
        EXPECT_FALSE(fileExists(out)) << args;
    }
    EXPECT_EQ(runRender("--size 10x10"), 2) << "no output named";
    EXPECT_EQ(runRender("--out " + tmpPath("frame.gif")), 2) << "unknown picture kind";
    EXPECT_FALSE(fileExists(tmpPath("frame.gif")));
    EXPECT_EQ(runRender("--help"), 0);
    EXPECT_EQ(runRender("--version"), 0);
    // The one line names what was wrong.
    RenderOptions options;
    EXPECT_EQ(parseRenderOptions({"--bogus"}, options).message(), "unknown argument: --bogus");
    EXPECT_EQ(parseRenderOptions({"-x", "1"}, options).message(), "unknown argument: -x");
    EXPECT_EQ(parseRenderOptions({"--size"}, options).message(), "missing value after --size");
}

TEST(RenderCli, ErrorsNameAHugeArgumentWithoutEchoingItWhole) {
    const std::string huge = "StarsCount=" + std::string(100000, '9');
    for (const std::vector<std::string>& args : {std::vector<std::string>{"--set", huge, "--raw", "x"},
                                                 {"--size", huge, "--raw", "x"},
                                                 {huge + "\u00e9", "1"}}) {
        RenderOptions options;
        const Outcome parsed = parseRenderOptions(args, options);
        ASSERT_FALSE(parsed.ok());
        const std::string& message = parsed.message();
        EXPECT_LT(message.size(), 300u);
        EXPECT_NE(message.find("StarsCount=999"), std::string::npos) << message;
        EXPECT_NE(message.find(std::to_string(args[0].size() > 100 ? args[0].size() : args[1].size()) + " bytes"),
                  std::string::npos)
            << message;
    }
    // Short arguments are shown whole, and a cut never splits a character.
    EXPECT_EQ(shownInMessage("--bogus"), "--bogus");
    const std::string accented = std::string(59, 'a') + "\u00e9\u00e9";
    EXPECT_EQ(shownInMessage(accented), std::string(59, 'a') + "... (63 bytes)");
}

TEST(RenderCli, UnwritableOutputIsAnErrorNotSuccess) {
    EXPECT_EQ(runRender("--size 8x8 --out /nonexistent-folder/x.png"), 1);
    EXPECT_EQ(runRender("--size 8x8 --raw /nonexistent-folder/x.raw"), 1);
}
