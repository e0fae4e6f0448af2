#pragma once
// The real saver for a test: a settings store of its own, the environment
// that points the saver at it, the saver started with both, and this build
// installed as a package would install it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>

#include "platform/linux/file_store.h"
#include "saver_environment.h"
#include "settings/settings_store.h"
#include "x11_session.h"

// Holds the given flight.
struct StoredSettings {
    explicit StoredSettings(const std::string& name, void (*adjust)(Settings&) = nullptr) {
        folder = scratchFolder("stores/" + name);
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
        Settings s;
        ApplyFallbackDefaults(s);
        if (adjust) adjust(s);
        FileStore store(user(), machine());
        EXPECT_TRUE(SaveSettings(s, store).ok());
    }
    std::string user() const { return folder + "/user.reg"; }
    std::string machine() const { return folder + "/machine.reg"; }
    std::string folder;
};

inline std::map<std::string, std::string> saverEnvironment(const X11Session& x, const StoredSettings& store) {
    return saverEnvironment(x.displayName(), store.folder);
}

// The saver started in `x` over `store` with `args`.
inline Child saverIn(const X11Session& x, const StoredSettings& store, std::vector<std::string> args) {
    args.insert(args.begin(), lumaraPath());
    return Child(args, saverEnvironment(x, store));
}

// Installs this build (cmake --install) into `prefix`, emptied first; true
// when the install succeeded.
inline bool installBuild(const std::string& prefix) {
    std::filesystem::remove_all(prefix);
    const std::string install =
        "'" LUMARA_CMAKE "' --install '" LUMARA_BUILD_DIR "' --prefix '" + prefix + "' >/dev/null";
    return std::system(install.c_str()) == 0;
}
