#pragma once
// The frame timer of both Linux hosts, a timerfd each message loop waits
// on beside its display connection: no thread of its own, and the loop
// sleeps until a frame is due or something else comes.
// Implements: one periodic timer, at most one tick waiting however many
// periods passed (as window timers never pile up), pending ticks dropped
// on request, and the milliseconds the host's tick count reads.
// Leaves out: more than one timer at a time (the saver sets one).
#include <cstdint>

class FrameTimer {
public:
    FrameTimer();
    ~FrameTimer();
    FrameTimer(const FrameTimer&) = delete;
    FrameTimer& operator=(const FrameTimer&) = delete;

    // The descriptor to wait on; readable while a tick waits.
    int fd() const { return fd_; }
    // Starts (or restarts) ticking every `periodMs`; false when it cannot.
    bool start(uint32_t periodMs);
    void stop();
    // Takes the waiting tick; false when none waits.
    bool takeTick();

    // Milliseconds of the system's monotonic clock, wrapping.
    static uint32_t now();

private:
    int fd_ = -1;
};
