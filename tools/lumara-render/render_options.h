#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "base/outcome.h"

// What one lumara-render run is asked to do.
struct RenderOptions {
    int32_t width = 1024;
    int32_t height = 768;
    int32_t frames = 1;
    int32_t format = 22;
    std::vector<std::pair<std::string, int32_t>> overrides;  // stored value name, value
    std::vector<std::string> pictures;
    std::string outPath;  // RGB image, kind from the extension
    std::string rawPath;  // the frame's own bytes
    bool help = false;
    bool version = false;
    bool fromStore = false;  // load the settings as the saver does, not a first run's
};

// Parses the command line (without the program name) into `options`. Every
// malformed, unknown or out-of-range argument fails with a line naming it.
Outcome parseRenderOptions(const std::vector<std::string>& args, RenderOptions& options);

std::string renderUsage();
