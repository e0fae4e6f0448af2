#pragma once
#include <string>

// A named copy of the picture parameters. Its fields and its store format
// come with the presets.
struct Preset {
    std::string name;
};
