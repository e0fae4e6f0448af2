#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

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

struct OptionError {
    std::string message;
};

// Parses the command line (without the program name). Every malformed,
// unknown or out-of-range argument gives an error naming it.
std::variant<RenderOptions, OptionError> parseRenderOptions(const std::vector<std::string>& args);

std::string renderUsage();
