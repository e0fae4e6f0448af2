#pragma once
#include <cstdint>
#include <string>
#include <vector>

// A named copy of the picture parameters. Presets are identified by their
// position in Settings::Presets; names need not be unique.
struct Preset {
    int32_t StarsCount = 0;
    int32_t MoveSpeed = 0;
    int32_t RotSpeed = 0;
    int32_t Smoothness = 0;
    int32_t RoamFreq = 0;
    int32_t RoamMagn = 0;
    int32_t Clouds = 0;
    int32_t AntiAliase = 0;
    bool UseNUR = false;
    std::vector<std::string> NURimages;
    std::string BackSound;  // "" none, "D" built-in music, else a file path
    std::string Name;

    bool operator==(const Preset&) const = default;
};
