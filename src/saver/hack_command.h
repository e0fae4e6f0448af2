#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/outcome.h"
#include "saver/command_line.h"
#include "settings/setting_options.h"

// The saver's command line as a screen-saver daemon's hack (xscreensaver's
// conventions), beside the system's modes of command_line.h, which it
// leaves alone: a command line is a hack's only when its first argument is
// one of its mode words (-root, -window-id, -window) or options
// (settings/setting_options.h), with one dash or two; "--help", "-h" and
// "--version" are answered before either is read.

// True when `args` (without the program name) is a hack's command line or
// asks for help or the version.
bool isHackCommandLine(const std::vector<std::string>& args);

// Reads such a command line into `command`: Help, Version, Root, WindowId
// with its window, or Window (also when only options are given), with the
// options as overrides. A refused argument leaves `command` as it was and
// says why, in one line.
Outcome parseHackCommand(const std::vector<std::string>& args, SaverCommand& command);

// An X11 window number, decimal or 0x hexadecimal, the whole text; 0 when
// it is none or too large for one.
WindowHandle parseXWindowId(std::string_view text);

// Applies the overrides to a record, in command-line order.
void applyOverrides(FlightParameters& flight, const std::vector<SettingOverride>& overrides);

// The --help text without the part about where settings live, which only
// the platform knows; ends with a blank line.
std::string hackUsage();
