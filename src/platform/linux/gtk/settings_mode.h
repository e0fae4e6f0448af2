#pragma once
// The configuration mode of `lumara` on Linux ("lumara", "lumara /c"): GTK
// on the X11 display, the configuration dialog, which runs the settings
// dialog over the user's settings store, and the help viewer. Pairs with
// the app's main, which calls it instead of starting SDL.
#include <cstdint>
#include <span>

#include "saver/command_line.h"

// Runs the settings dialog for `command` (a Settings or Configure command):
// without an owner for the bare command line; for "/c:N" kept over and
// centred on window N, or, when no number is given, it is 0 or names no
// window, on the window the desktop has active.
// The result: 1 after OK (the settings saved), 2 after Cancel; -1 when
// there is no display to show it on (said in one line on stderr).
// `aboutPicture`: the About box's picture as a BMP file image.
int runSettingsMode(std::span<const uint8_t> aboutPicture, const SaverCommand& command);
