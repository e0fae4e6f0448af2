#pragma once
#include <array>
#include <cstdint>
#include <string_view>

#include "settings/setting_table.h"
#include "ui/dialog_ids.h"

// The command-line options that set a picture parameter for one run, in the
// manner of a screen-saver daemon's hacks ("-stars 300"). Each names its
// entry of kFlightSettings, whose offered range and fallback are the
// option's; only the scale in which a value is written may differ.

enum class OptionScale : uint8_t {
    AsStored,           // the stored number itself
    FrameMicroseconds,  // Smoothness written as the frame period in microseconds (below)
    Choice,             // one of the entry's values by name or number
};

struct SettingOption {
    std::string_view option;      // "-stars"
    std::string_view storedName;  // its entry in kFlightSettings
    OptionScale scale;
    std::string_view label;     // what the option changes, for help texts and the daemon's settings
    std::string_view lowLabel;  // the two ends of a slider
    std::string_view highLabel;
};

// -delay is the frame period as every xscreensaver hack takes it; its
// slider runs from a long period (a low frame rate) to a short one.
inline constexpr std::array<SettingOption, 8> kSettingOptions{{
    {"-stars", "StarsCount", OptionScale::AsStored, "Number of stars", "Few", "Many"},
    {"-speed", "MoveSpeed", OptionScale::AsStored, "Flight speed", "Slow", "Fast"},
    {"-rotation", "RotSpeed", OptionScale::AsStored, "Roll speed", "Left", "Right"},
    {"-roam-rate", "RoamFreq", OptionScale::AsStored, "Roaming frequency", "Seldom", "Often"},
    {"-roam", "RoamMagn", OptionScale::AsStored, "Roaming amplitude", "None", "Wide"},
    {"-clouds", "Clouds", OptionScale::AsStored, "Nebula density", "None", "Dense"},
    {"-delay", "Smoothness", OptionScale::FrameMicroseconds, "Frame rate", "Low", "High"},
    {"-antialias", "AntiAliase", OptionScale::Choice, "Anti-aliasing", "", ""},
}};

// The names a Choice option (the anti-aliasing mode) accepts besides the
// numbers, in value order from the entry's low end; the texts the daemon's
// menu shows are the settings page's own (string table ids, same order).
inline constexpr std::array<std::string_view, 6> kAntiAliasNames{"disabled", "sharp",   "normal",
                                                                 "very-good", "perfect", "blurred"};
inline constexpr std::array<uint32_t, 6> kAntiAliasTextIds{dlg::kAntiAliasOff,       dlg::kAntiAliasSharp,
                                                           dlg::kAntiAliasSharp + 1, dlg::kAntiAliasSharp + 2,
                                                           dlg::kAntiAliasSharp + 3, dlg::kAntiAliasSharp + 4};
static_assert(findFlightSetting("AntiAliase")->high - findFlightSetting("AntiAliase")->low + 1 ==
              static_cast<int32_t>(kAntiAliasNames.size()));

// The frame period and Smoothness: the frame timer's period is
// 100 - Smoothness ms, so a period of N microseconds is Smoothness
// 100 - N / 1000 (to the nearest millisecond), and every Smoothness is one
// period exactly. No timer of either platform runs faster than every
// kShortestFramePeriod ms; a shorter period runs at that.
inline constexpr int32_t kShortestFramePeriod = 10;

constexpr int32_t smoothnessForFrameMicroseconds(int32_t microseconds) { return 100 - (microseconds + 500) / 1000; }
constexpr int32_t frameMicrosecondsForSmoothness(int32_t smoothness) { return (100 - smoothness) * 1000; }

// The range and default an option offers, in its own scale.
struct OptionRange {
    int32_t low;
    int32_t high;
    int32_t fallback;
};

constexpr OptionRange optionRange(const SettingOption& option) {
    const SettingInfo& s = *findFlightSetting(option.storedName);
    if (option.scale != OptionScale::FrameMicroseconds) return {s.low, s.high, s.fallback};
    return {frameMicrosecondsForSmoothness(s.high), frameMicrosecondsForSmoothness(s.low),
            frameMicrosecondsForSmoothness(s.fallback)};
}
