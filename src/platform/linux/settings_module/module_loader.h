#pragma once
// The settings dialog of `lumara` on Linux ("lumara", "lumara /c"), as
// ModuleDialog (app/module_dialog.h) runs it: the dialog's module
// (settings_module.h) loaded from beside the program, "<prefix>/bin/lumara"
// finding "<prefix>/lib/lumara/lumara-settings.so" (the build tree has the
// same layout), and run. SDL is not started for it.
#include <cstdint>
#include <span>
#include <string>

#include "base/window_messages.h"

// Runs the settings dialog kept over and centred on window `owner` (the
// shell gives the one "/c:N" names, else the active window), or without an
// owner for 0 or a window that is not there.
// The result: 1 after OK (the settings saved), 2 after Cancel; -1 when it
// cannot be shown: no display to show it on, or a module that is missing or
// cannot be loaded (either said in one line on stderr).
// `aboutPicture`: the About box's picture as a BMP file image.
int runSettingsModule(std::span<const uint8_t> aboutPicture, WindowHandle owner);

// Where the running program looks for the dialog's module; empty when the
// program's own place is unknown.
std::string settingsModulePath();
