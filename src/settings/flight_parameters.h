#pragma once
#include <cstdint>

// The nine picture parameters that the settings record and every preset
// carry, and that the stored checksum guards. Field order is the preset
// block's. Declared once with their stored names and ranges in
// settings/setting_table.h.
struct FlightParameters {
    int32_t StarsCount = 0;
    int32_t MoveSpeed = 0;
    int32_t RotSpeed = 0;
    int32_t Smoothness = 0;
    int32_t RoamFreq = 0;
    int32_t RoamMagn = 0;
    int32_t Clouds = 0;
    int32_t AntiAliase = 0;
    bool UseNUR = false;

    bool operator==(const FlightParameters&) const = default;
};
