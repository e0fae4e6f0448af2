#pragma once
// The settings dialog of `lumara` on Linux ("lumara", "lumara /c"): GTK
// on the saver's display system, the configuration dialog, which runs the
// settings dialog over the user's settings store, and the help viewer. The
// settings dialog's module runs it (settings_module/settings_module.h); the
// program loads that module only when the dialog runs.
#include <cstdint>
#include <span>

#include "base/window_messages.h"

// Runs the settings dialog kept over and centred on window `owner` (the
// shell gives the one "/c:N" names, else the active window), or without an
// owner for 0 or a window that is not there.
// The result: 1 after OK (the settings saved), 2 after Cancel; -1 when
// there is no display to show it on (said in one line on stderr).
// `aboutPicture`: the About box's picture as a BMP file image.
int runSettingsDialog(std::span<const uint8_t> aboutPicture, WindowHandle owner);
