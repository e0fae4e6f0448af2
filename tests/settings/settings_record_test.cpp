#include <gtest/gtest.h>

#include "fallback_flight.h"
#include "settings/settings.h"

namespace {

Settings record(int32_t stars, int32_t move, int32_t rot, int32_t smooth, int32_t freq, int32_t magn,
                int32_t clouds, int32_t aa, bool nur) {
    Settings s;
    s.StarsCount = stars;
    s.MoveSpeed = move;
    s.RotSpeed = rot;
    s.Smoothness = smooth;
    s.RoamFreq = freq;
    s.RoamMagn = magn;
    s.Clouds = clouds;
    s.AntiAliase = aa;
    s.UseNUR = nur;
    return s;
}

}  // namespace

TEST(SettingsRecord, FallbackDefaultsChangeOnlyTheFlightFields) {
    Settings s = record(7, 8, 9, 10, 11, 12, 3, 4, true);
    s.BackSound = "D";
    s.NURimages = {"/pictures/a.png"};
    s.RecentSounds = {"/sounds/x.wav"};
    s.Language = "/opt/lumara/Deutsch.lang";
    s.HelpFile = "/opt/lumara/help.chm";
    s.ProgramDir = "/opt/lumara";
    s.Presets.push_back(Preset{});
    s.RecentSoundsLimit = 7;
    ApplyFallbackDefaults(s);

    expectFallbackFlight(s);
    // Everything else is the user's and stays.
    EXPECT_EQ(s.NURimages.size(), 1u);
    EXPECT_EQ(s.RecentSounds.size(), 1u);
    EXPECT_EQ(s.Presets.size(), 1u);
    EXPECT_EQ(s.Language, "/opt/lumara/Deutsch.lang");
    EXPECT_EQ(s.HelpFile, "/opt/lumara/help.chm");
    EXPECT_EQ(s.ProgramDir, "/opt/lumara");
    EXPECT_EQ(s.RecentSoundsLimit, 7);
}

// Values worked out by hand from the checksum's definition (mod 2^32).
TEST(SettingsChecksum, MatchesHandComputedRecords) {
    EXPECT_EQ(SettingsChecksum(record(2000, 500, -25, 30, 30, 10, 0, 0, false)), 0xFFFFF9C9u);
    EXPECT_EQ(SettingsChecksum(record(5000, 50, 5, 0, 1, 0, 0, 0, false)), 0x000013BEu);
    EXPECT_EQ(SettingsChecksum(record(20000, 1000, -100, 100, 100, 100, 10, 5, true)), 0x4C4A82CBu);
    EXPECT_EQ(SettingsChecksum(record(0, 0, 0, 0, 0, 0, 0, 0, false)), 0x7D5D0001u);
}

TEST(SettingsChecksum, CoversTheNineFlightFieldsAndNothingElse) {
    const Settings base = record(20000, 1000, -100, 100, 100, 100, 10, 5, true);
    Settings other = base;
    other.BackSound = "D";
    other.NURimages = {"x.png"};
    other.RecentSounds = {"y.wav"};
    other.Language = "z.lang";
    other.HelpFile = "h.chm";
    other.Presets.push_back(Preset{});
    EXPECT_EQ(SettingsChecksum(other), SettingsChecksum(base));

    // AntiAliase enters only the mixing steps, yet still changes the result.
    other = base;
    other.AntiAliase = 4;
    EXPECT_EQ(SettingsChecksum(other), 0xD48BB23Bu);
    other = base;
    other.UseNUR = false;
    EXPECT_NE(SettingsChecksum(other), SettingsChecksum(base));
}
