#pragma once
// What the saver program and the settings dialog's module agree on. The
// dialog (GTK, its help viewer, chmlib) is a module of its own, loaded only
// when the dialog runs, so the saver's modes map none of those libraries.
// The module exports this one C function and nothing else. Its name carries
// the interface's number: a module left over from another build fails to
// load with a clear message instead of being called with the wrong arguments.
#include <cstddef>
#include <cstdint>

// Runs the settings dialog (settings_dialog/run_settings_dialog.h: runSettingsDialog) with
// the About box's picture as a BMP file image and the owner window's number.
using SettingsModuleEntry = int (*)(const uint8_t* aboutPicture, size_t aboutPictureSize, uint64_t owner);

inline constexpr const char* kSettingsModuleEntry = "lumara_settings_run_1";
