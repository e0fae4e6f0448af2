#include <gtest/gtest.h>

#include "settings/settings.h"

namespace {

Settings record(FlightParameters flight) {
    Settings s;
    static_cast<FlightParameters&>(s) = flight;
    return s;
}

}  // namespace

// Values worked out by hand from the checksum's definition (mod 2^32).
TEST(SettingsChecksum, MatchesHandComputedRecords) {
    EXPECT_EQ(SettingsChecksum(record({2000, 500, -25, 30, 30, 10, 0, 0, false})), 0xFFFFF9C9u);
    EXPECT_EQ(SettingsChecksum(record({5000, 50, 5, 0, 1, 0, 0, 0, false})), 0x000013BEu);
    EXPECT_EQ(SettingsChecksum(record({20000, 1000, -100, 100, 100, 100, 10, 5, true})), 0x4C4A82CBu);
    EXPECT_EQ(SettingsChecksum(record({0, 0, 0, 0, 0, 0, 0, 0, false})), 0x7D5D0001u);
}

TEST(SettingsChecksum, IgnoresEverythingButTheNineFlightFields) {
    const Settings base = record({20000, 1000, -100, 100, 100, 100, 10, 5, true});
    Settings other = base;
    other.BackSound = "D";
    other.NURimages = {"x.png"};
    other.RecentSounds = {"y.wav"};
    other.Language = "z.lang";
    other.HelpFile = "h.chm";
    other.Presets.push_back(Preset{});
    EXPECT_EQ(SettingsChecksum(other), SettingsChecksum(base));
}
