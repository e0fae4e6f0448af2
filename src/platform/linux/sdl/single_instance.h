#pragma once
// One full-screen saver per user and display, for the findRunningSaver of
// SdlHost and WaylandHost (Win32Host finds the other saver's window by
// class and title instead). The first instance holds an abstract local
// socket named after both; a second one finds the name taken, connects,
// and so asks the first to come to the front.
// Leaves out: any message beyond "come to the front"; without sockets every
// instance runs.
#include <string>
#include <utility>

class SingleInstance {
public:
    // The X11 display DISPLAY names.
    SingleInstance();
    // Another display system's session, by a name of its own.
    explicit SingleInstance(std::string session) : session_(std::move(session)) {}
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;
    ~SingleInstance();

    // True when this process now holds the name; false when another does
    // (it was then asked to come to the front).
    bool claimOrRaiseRunning();
    // True when another instance asked this one to come to the front since
    // the last call. Never blocks.
    bool raiseRequested();

private:
    std::string session_;
    int listener_ = -1;
};
