#pragma once
// What the idle watcher (idle_watcher.h) asks of a source of the session's
// idle time: a descriptor to wait on, the events read once it wakes, and
// whether the session is idle now, counted in idle periods so that one
// period starts the saver once.
#include <cstdint>

class IdleSource {
public:
    virtual ~IdleSource() = default;

    // The protocol or service the idle time comes from, for the watcher's line.
    virtual const char* name() const = 0;
    // The descriptor whose input is for readEvents.
    virtual int descriptor() const = 0;
    // Reads what has come; false once the session's connection is gone.
    virtual bool readEvents() = 0;
    // Whether the session has been idle for the watcher's time, as last read.
    virtual bool idle() const = 0;
    // Counts the times the session became idle.
    virtual uint32_t idlePeriod() const = 0;
    // How long the watcher may wait without input before reading again, in
    // milliseconds; -1 when the source's events are enough.
    virtual int readAgainAfter() const { return -1; }
    // Whether something the session knows of (a video, a presentation)
    // asks it not to count as idle, where the compositor does not see to
    // that itself.
    virtual bool inhibited() { return false; }
};
