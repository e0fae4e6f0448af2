#pragma once
#include <gtest/gtest.h>

#include "settings/settings.h"

// The fields a first run (or a stored checksum that does not match) gets.
inline void expectFallbackFlight(const Settings& s) {
    EXPECT_EQ(s.StarsCount, 2000);
    EXPECT_EQ(s.MoveSpeed, 500);
    EXPECT_EQ(s.RotSpeed, -25);
    EXPECT_EQ(s.Smoothness, 30);
    EXPECT_EQ(s.RoamFreq, 30);
    EXPECT_EQ(s.RoamMagn, 10);
    EXPECT_EQ(s.Clouds, 0);
    EXPECT_EQ(s.AntiAliase, 0);
    EXPECT_FALSE(s.UseNUR);
    EXPECT_TRUE(s.BackSound.empty());
}
