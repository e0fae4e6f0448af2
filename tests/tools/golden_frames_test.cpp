// The golden runs (run_tool.h) give the bytes they are pinned to.
#include <gtest/gtest.h>

#include "run_tool.h"

TEST(GoldenFrames, FixedRunsGiveFixedBytes) {
    int index = 0;
    for (const GoldenRun& g : kGoldenRuns) {
        const std::string raw = tmpPath("golden" + std::to_string(index++) + ".raw");
        ASSERT_EQ(runRender(std::string(g.args) + " --raw " + raw), 0) << g.args;
        const auto bytes = readFile(raw);
        size_t lit = 0;
        for (uint8_t b : bytes) lit += b != 0;
        EXPECT_GT(lit, 0u) << "stars drawn: " << g.args;
        EXPECT_EQ(fingerprint(bytes), g.fingerprint) << g.args;
    }
}
