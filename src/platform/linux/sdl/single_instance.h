#pragma once
// One full-screen saver per user and display, for SdlHost's
// findRunningSaver (Win32Host finds the other saver's window by class and
// title instead). The first instance holds an abstract local socket named
// after both; a second one finds the name taken, connects, and so asks the
// first to come to the front.
// Leaves out: any message beyond "come to the front"; without sockets every
// instance runs.
class SingleInstance {
public:
    SingleInstance() = default;
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
    int listener_ = -1;
};
