#pragma once
// The settings dialog of `lumara` on Linux ("lumara", "lumara /c"): GTK
// on the X11 display, the configuration dialog, which runs the settings
// dialog over the user's settings store, and the help viewer. SdlHost's
// showConfigureDialog, where the host shell asks for it; SDL is not started
// for it.
#include <cstdint>
#include <span>

#include "base/window_messages.h"

// Runs the settings dialog kept over and centred on window `owner` (the
// shell gives the one "/c:N" names, else the active window), or without an
// owner for 0 or a window that is not there.
// The result: 1 after OK (the settings saved), 2 after Cancel; -1 when
// there is no display to show it on (said in one line on stderr).
// `aboutPicture`: the About box's picture as a BMP file image.
int runSettingsMode(std::span<const uint8_t> aboutPicture, WindowHandle owner);
