#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "base/byte_order.h"
#include "fake_host.h"
#include "settings/settings.h"

TEST(BackgroundSound, BackSoundChoosesWhatPlays) {
    struct Case {
        const char* backSound;
        std::string expected;
    };
    const std::string music = "image " + std::to_string(builtInMusic().size());
    for (const Case& c : {Case{"", ""}, Case{"D", music}, Case{"d", ""}, Case{"X", ""}, Case{"DD", "file DD"},
                          Case{"/home/me/rain.wav", "file /home/me/rain.wav"}}) {
        Settings s;
        s.BackSound = c.backSound;
        RecordingPlayer player;
        startBackgroundSound(s, player);
        EXPECT_EQ(player.calls, c.expected.empty() ? std::vector<std::string>{} : std::vector<std::string>{c.expected})
            << '"' << c.backSound << '"';
    }
    RecordingPlayer idle;
    stopBackgroundSound(idle);  // stopping when nothing plays is harmless
    EXPECT_EQ(idle.calls, std::vector<std::string>{"stop"});
}

TEST(BuiltInMusic, IsAMonoSixteenBitWaveOfTheRightLengthAudibleAndLoopingWithoutAClick) {
    const auto wave = builtInMusic();
    ASSERT_EQ(wave.size(), 44u + 50898u);
    const std::string tags(reinterpret_cast<const char*>(wave.data()), 44);
    EXPECT_EQ(tags.substr(0, 4) + tags.substr(8, 8) + tags.substr(36, 4), "RIFFWAVEfmt data");
    EXPECT_EQ(readLittleEndian32(wave.data() + 4), wave.size() - 8);
    // PCM, mono, 2000 samples a second of 16 bits, then the samples' length.
    EXPECT_EQ(std::vector<uint32_t>({readLittleEndian16(wave.data() + 20), readLittleEndian16(wave.data() + 22),
                                     readLittleEndian32(wave.data() + 24), readLittleEndian16(wave.data() + 34),
                                     readLittleEndian32(wave.data() + 40)}),
              std::vector<uint32_t>({1, 1, 2000, 16, 50898}));

    std::vector<int> s;
    for (size_t i = 44; i + 1 < wave.size(); i += 2)
        s.push_back(static_cast<int16_t>(readLittleEndian16(wave.data() + i)));
    double energy = 0;
    int largestStep = 0;
    for (size_t i = 1; i < s.size(); ++i) {
        energy += double(s[i]) * s[i];
        largestStep = std::max(largestStep, std::abs(s[i] - s[i - 1]));
    }
    const double rms = std::sqrt(energy / static_cast<double>(s.size()));
    EXPECT_GT(rms, 1000.0) << "audible";
    EXPECT_LT(rms, 16000.0) << "not harsh";
    // The wrap from the last sample to the first is no bigger a step than
    // the music takes anywhere else.
    EXPECT_LE(std::abs(s.front() - s.back()), largestStep);
}
