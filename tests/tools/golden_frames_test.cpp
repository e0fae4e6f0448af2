// Fixed runs of the headless renderer pinned by the fingerprint of their
// frame bytes. The star field and star drawing are integer arithmetic, so
// these hold on every compiler and platform; a changed fingerprint means
// the flight or the drawing changed.
#include <gtest/gtest.h>

#include "run_tool.h"

namespace {

struct Golden {
    const char* args;
    uint64_t fingerprint;
};

constexpr Golden kGoldens[] = {
    {"--size 64x48 --frames 30 --format 22 --set AntiAliase=0", 0x7e87fb6898fe19a6ull},
    {"--size 101x77 --frames 40 --format 21 --set AntiAliase=1", 0x42351d390975ee78ull},
    {"--size 320x240 --frames 25 --format 23 --set AntiAliase=2", 0xee551d4baeb8f783ull},
    {"--size 255x129 --frames 35 --format 24 --set AntiAliase=3", 0xf06d1a2f28371095ull},
    {"--size 640x480 --frames 20 --format 22 --set AntiAliase=4 --set RotSpeed=100", 0xcffdf8fa13a13161ull},
    {"--size 333x200 --frames 50 --format 23 --set AntiAliase=5 --set StarsCount=20000 --set MoveSpeed=1000 "
     "--set RoamMagn=100 --set RoamFreq=100 --set Smoothness=1",
     0xe83594a18d8379fcull},
    {"--size 199x101 --frames 60 --format 24 --set AntiAliase=0 --set MoveSpeed=1 --set RotSpeed=-100",
     0x3140289ec635c0b0ull},
    {"--size 1024x768 --frames 12 --format 22 --set AntiAliase=5", 0x62f4bdd995b9ddfcull},
};

}  // namespace

TEST(GoldenFrames, FixedRunsGiveFixedBytes) {
    int index = 0;
    for (const Golden& g : kGoldens) {
        const std::string raw = tmpPath("golden" + std::to_string(index++) + ".raw");
        ASSERT_EQ(runRender(std::string(g.args) + " --raw " + raw), 0) << g.args;
        const auto bytes = readFile(raw);
        size_t lit = 0;
        for (uint8_t b : bytes) lit += b != 0;
        EXPECT_GT(lit, 0u) << "stars drawn: " << g.args;
        EXPECT_EQ(fingerprint(bytes), g.fingerprint) << g.args;
    }
}
