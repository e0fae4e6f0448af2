#pragma once
// The real saver for a test: a settings store of its own, the environment
// that points the saver at it, the saver started with both, and this build
// installed as a package would install it.
#include <gtest/gtest.h>
#include <signal.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>

#include "platform/linux/store/file_store.h"
#include "platform_linux/temp_folder.h"
#include "saver/background_sound.h"
#include "saver_environment.h"
#include "settings/settings_store.h"
#include "x11_session.h"

// The title of the full-screen saver's window on X11.
inline constexpr const char* kSaverTitle = "Screen Saver";

// A dense, fast flight (10 ms frames): stars everywhere within a second.
inline void denseFlight(Settings& s) {
    s.StarsCount = 20000;
    s.Smoothness = 90;
}

// Stores the fallback settings, changed by `adjust`, in `folder`'s user.reg
// and machine.reg; true when they were written.
inline bool storeFlight(const std::string& folder, void (*adjust)(Settings&) = nullptr) {
    Settings s;
    ApplyFallbackDefaults(s);
    if (adjust) adjust(s);
    FileStore store(folder + "/user.reg", folder + "/machine.reg");
    return SaveSettings(s, store).ok();
}

// Holds the given flight.
struct StoredSettings {
    explicit StoredSettings(const std::string& name, void (*adjust)(Settings&) = nullptr)
        : folder(scratchFolder("stores/" + name)) {
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
        EXPECT_TRUE(storeFlight(folder, adjust));
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

// Points the saver's sound in `env` at a file in `folder` (its name is
// returned), written at 1 ms a buffer instead of in real time: many passes
// of the music in a moment.
inline std::string soundToFile(std::map<std::string, std::string>& env, const std::string& folder) {
    env["SDL_AUDIODRIVER"] = "disk";
    env["SDL_DISKAUDIOFILE"] = folder + "/audio.raw";
    env["SDL_DISKAUDIODELAY"] = "1";
    std::filesystem::remove(env["SDL_DISKAUDIOFILE"]);
    return env["SDL_DISKAUDIOFILE"];
}

// How many whole passes of the built-in music's samples the sound file
// holds, one after another, after the silence the device may have played
// between its opening and the music's start (a loaded machine leaves it
// time for some).
inline int musicPasses(const std::string& audio) {
    const std::string written = fileText(audio);
    const auto music = builtInMusic();
    const std::string samples(music.begin() + 44, music.end());
    const size_t start = samples.empty() ? std::string::npos : written.find(samples);
    if (start == std::string::npos || written.find_first_not_of('\0') < start) return 0;
    int passes = 0;
    while (written.compare(start + passes * samples.size(), samples.size(), samples) == 0) ++passes;
    return passes;
}

// Eight later starts (`startLater` makes one) while the full-screen saver
// `first` is stopped, so it takes no requests: each ends at once with 0,
// its request to come to the front waiting for the first, which then runs on.
template <typename Start>
void laterStartsEndWhileTheFirstIsStopped(Child& first, Start startLater) {
    using namespace std::chrono_literals;
    first.signal(SIGSTOP);
    for (int i = 1; i <= 8; ++i) {
        Child later = startLater();
        EXPECT_EQ(later.waitFor(), 0) << "later start " << i << ": " << later.errorOutput();
    }
    first.signal(SIGCONT);
    EXPECT_TRUE(first.running()) << first.errorOutput();
}
