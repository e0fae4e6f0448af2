// Stores a first run's settings with the given stored numbers, for the
// tests that run the saver on them.
//   store_flight NAME=N ...   exit 0 once they are saved
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/win32/registry_store.h"
#include "settings/settings_store.h"

int main(int argc, char** argv) {
    RegistryStore store;
    Settings s;
    ApplyFallbackDefaults(s);
    for (int i = 1; i < argc; ++i) {
        const char* equals = std::strchr(argv[i], '=');
        const SettingInfo* setting =
            equals ? findFlightSetting(std::string_view(argv[i], static_cast<size_t>(equals - argv[i]))) : nullptr;
        if (!setting) {
            std::printf("not a stored number: %s\n", argv[i]);
            return 1;
        }
        setting->set(s, std::atoi(equals + 1));
    }
    return SaveSettings(s, store).ok() ? 0 : 1;
}
