#pragma once
// The Windows programs of a cross build run under wine64 in a private X
// server. Every test shares the one Wine prefix that the test run made
// (the wine_prefix fixture); its Wine processes are ended with the session.
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

    // A program of the cross build (its path in the build folder) under
    // wine64, ended when dropped.
    Child start(const std::string& program, const std::vector<std::string>& args);
    // Runs it to its end (at most `seconds`); its exit status, and what it
    // printed into `output`. -1 when it did not end in time.
    int run(const std::string& program, const std::vector<std::string>& args, int seconds, std::string* output = nullptr);

private:
    X11Session x_;
};

std::string windowsProgram(const std::string& path);
