#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "settings/flight_parameters.h"

// A named copy of the picture parameters. Presets are identified by their
// position in Settings::Presets; names need not be unique.
struct Preset : FlightParameters {
    std::vector<std::string> NURimages;
    std::string BackSound;  // "" none, "D" built-in music, else a file path
    std::string Name;

    bool operator==(const Preset&) const = default;
};
