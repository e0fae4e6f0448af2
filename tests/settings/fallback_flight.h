#pragma once
#include <gtest/gtest.h>

#include <ostream>

#include "settings/settings.h"

inline void PrintTo(const FlightParameters& p, std::ostream* os) {
    *os << "{" << p.StarsCount << ", " << p.MoveSpeed << ", " << p.RotSpeed << ", " << p.Smoothness << ", "
        << p.RoamFreq << ", " << p.RoamMagn << ", " << p.Clouds << ", " << p.AntiAliase << ", " << p.UseNUR << "}";
}

// The nine picture parameters, compared at once.
inline const FlightParameters& flightOf(const Settings& s) { return s; }

inline std::vector<std::string> presetNames(const Settings& s) {
    std::vector<std::string> names;
    for (const Preset& p : s.Presets) names.push_back(p.Name);
    return names;
}

// What a first run (or a stored checksum that does not match) gets: stars,
// speed, roll, smoothness, roam frequency and amplitude, clouds, anti-aliasing,
// pictures.
inline void expectFallbackFlight(const Settings& s) {
    EXPECT_EQ(flightOf(s), (FlightParameters{2000, 500, -25, 30, 30, 10, 0, 0, false}));
    EXPECT_TRUE(s.BackSound.empty());
}
