#pragma once
// The Windows programs of a cross build run under wine64 in a private X
// server. The tests of one folder share the Wine prefix that the test run
// made for them (the <folder>_prefix fixture); its Wine processes are
// ended with the session.
#include <string>
#include <vector>

#include "saver_linux/x11_session.h"

class WineSession {
public:
    explicit WineSession(const std::string& screen = "1280x720x24") : x_(screen) {}
    ~WineSession();
    WineSession(const WineSession&) = delete;
    WineSession& operator=(const WineSession&) = delete;

    X11Session& x() { return x_; }

    // A program (see windowsProgram) under Wine, ended when dropped.
    // `trace` names Wine's debug channels whose messages go to the child's
    // error output (none by default).
    Child start(const std::string& program, const std::vector<std::string>& args, const std::string& trace = "-all");
    // Runs it to its end (at most `seconds`); its exit status, and what it
    // printed into `output`. -1 when it did not end in time.
    int run(const std::string& program, const std::vector<std::string>& args, int seconds, std::string* output = nullptr);
    // Waits until every program in the prefix has ended and the registry
    // is written back to the prefix's files.
    void waitForAllPrograms();

private:
    X11Session x_;
};

// The Windows build, Wine (loader and server) and prefix the tests use:
// those the build was configured with, unless the environment names others
// (LUMARA_WINDOWS_BUILD, LUMARA_WINE, LUMARA_WINESERVER, LUMARA_WINE_PREFIX),
// as the i686 build's run under 32-bit Wine does (scripts/i686_windows).
struct WineSetup {
    std::string windowsBuild, wine, wineserver, prefix;
};
const WineSetup& wineSetup();

// A program of the cross build (its path in the build folder), or a
// Windows path (one that starts with a drive letter) as it stands.
std::string windowsProgram(const std::string& path);
