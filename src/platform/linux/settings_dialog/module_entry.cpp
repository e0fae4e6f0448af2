// The settings dialog's module: its one exported function. Everything else in
// the module, the static copies of the portable layers among it, stays
// hidden, so nothing in it takes the place of the program's own functions.
#include "platform/linux/settings_dialog/run_settings_dialog.h"
#include "platform/linux/settings_module/settings_module.h"

#include <type_traits>

extern "C" __attribute__((visibility("default"))) int lumara_settings_run_1(const uint8_t* aboutPicture,
                                                                             size_t aboutPictureSize, uint64_t owner) {
    static_assert(std::is_same_v<decltype(&lumara_settings_run_1), SettingsModuleEntry>);
    return runSettingsDialog({aboutPicture, aboutPictureSize}, static_cast<WindowHandle>(owner));
}
