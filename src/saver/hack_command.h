#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "saver/messages.h"
#include "settings/setting_options.h"

// The saver's command line as a screen-saver daemon's hack (xscreensaver's
// conventions), beside the Windows-style modes of command_line.h, which it
// leaves alone: a command line is a hack's only when its first argument is
// one of the words below (with one dash or two), and "--help", "-h" and
// "--version" are answered before either is read.

// A picture parameter set for one run, after the stored settings are read.
struct SettingOverride {
    const SettingInfo* setting;
    int32_t value;  // as stored
};

struct HackCommand {
    enum class Mode {
        NotHack,   // a Windows-style command line
        Help,
        Version,
        Root,      // into the daemon's window, else the root window
        WindowId,  // into the given window
        Window,    // in a resizable window of its own
        Invalid,   // `error` says why, in one line
    };
    Mode mode = Mode::NotHack;
    WindowHandle window = 0;  // WindowId; 0 for a number no X11 window can have
    std::vector<SettingOverride> overrides;
    std::string error;
};

// `args` without the program name.
HackCommand parseHackCommand(const std::vector<std::string>& args);

// An X11 window number, decimal or 0x hexadecimal, the whole text; 0 when
// it is none or too large for one.
WindowHandle parseXWindowId(std::string_view text);

// Applies the overrides to a record, in command-line order.
void applyOverrides(FlightParameters& flight, const std::vector<SettingOverride>& overrides);

// The --help text without the part about where settings live, which only
// the platform knows; ends with a blank line.
std::string hackUsage();
