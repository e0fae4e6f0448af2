#pragma once
#include <map>
#include <string>

// What a saver or settings dialog a test starts runs in: the test's display,
// and the store and help cache in the test's `folder`.
inline std::map<std::string, std::string> saverEnvironment(const std::string& display, const std::string& folder) {
    return {{"DISPLAY", display},
            {"LUMARA_USER_STORE", folder + "/user.reg"},
            {"LUMARA_MACHINE_STORE", folder + "/machine.reg"},
            {"XDG_CACHE_HOME", folder + "/cache"},
            {"SDL_AUDIODRIVER", "dummy"},
            // In sanitizer builds: the system's display, bus and GTK libraries
            // keep allocations to the end, some in drivers already unloaded,
            // so leak reports of the whole program name nothing of ours.
            {"ASAN_OPTIONS", "detect_leaks=0"}};
}
