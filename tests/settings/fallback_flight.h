#pragma once
#include <gtest/gtest.h>

#include <tuple>

#include "settings/settings.h"

// The nine flight fields, compared at once.
inline auto flightOf(const Settings& s) {
    return std::make_tuple(s.StarsCount, s.MoveSpeed, s.RotSpeed, s.Smoothness, s.RoamFreq, s.RoamMagn, s.Clouds,
                           s.AntiAliase, s.UseNUR);
}

// The fields a first run (or a stored checksum that does not match) gets.
inline void expectFallbackFlight(const Settings& s) {
    EXPECT_EQ(flightOf(s), std::make_tuple(2000, 500, -25, 30, 30, 10, 0, 0, false));
    EXPECT_TRUE(s.BackSound.empty());
}
