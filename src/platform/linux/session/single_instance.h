#pragma once
// One full-screen saver per user and display, for the findRunningSaver of
// SdlHost and WaylandHost (Win32Host finds the other saver's window by
// class and title instead). The first instance holds an abstract local
// socket named after both; a later one finds the name taken, connects,
// and so asks the first to come to the front.
// A later start never waits on the first for long: its connection is made
// without blocking, and lands in the first one's queue of requests even
// while that one is stopped or busy. Only when that queue stays full for
// kAnswerDeadline does the later start give up, with the running saver
// left as it is.
// Leaves out: any message beyond "come to the front"; without sockets every
// instance runs.
#include <chrono>
#include <string>
#include <utility>

class SingleInstance {
public:
    // How long a later start keeps trying to hand its request over.
    static constexpr std::chrono::milliseconds kAnswerDeadline{2000};
    // Requests a running saver can hold before it takes them: far more than
    // a session's starts in the time it takes to take them (at once: the
    // host's loop wakes for a request).
    static constexpr int kPendingRequests = 16;

    // The X11 display DISPLAY names.
    SingleInstance();
    // Another display system's session, by a name of its own.
    explicit SingleInstance(std::string session) : session_(std::move(session)) {}
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;
    ~SingleInstance();

    // True when this process now holds the name; false when another does
    // (it was then asked to come to the front, if it took the request).
    bool claimOrRaiseRunning();
    // After claimOrRaiseRunning found another instance: the run's exit code,
    // 0 when that one took the request; 1, said on stderr, when its queue
    // stayed full until the deadline (it is stopped or hangs).
    int handOverResult() const;
    // True when another instance asked this one to come to the front since
    // the last call. Never blocks.
    bool raiseRequested();
    // The descriptor a request makes readable, for the host's loop to wait
    // on; -1 when this process holds no name.
    int descriptor() const { return listener_; }

private:
    std::string session_;
    int listener_ = -1;
    bool requestTaken_ = true;
};
