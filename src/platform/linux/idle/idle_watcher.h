#pragma once
// `lumara --idle MINUTES`: resident for the session, it starts the
// full-screen saver (saver_child.h) once the session has been idle for the
// time given, waits for it to end and watches again. It holds no window,
// no GTK and no SDL while it waits, and wakes only for its source's events
// and the saver's end. Its source of idle time, the first the session
// offers: a Wayland idle protocol (wayland_idle_source.h), GNOME's idle
// monitor (gnome_idle_source.h), X11's MIT-SCREEN-SAVER (x11_idle_source.h).
// One watcher per session: a second one ends at once.
#include <cstdint>

// The watcher's exit code: 0 when another watcher or screen saver already
// has the session, 1 when the session offers no idle time or its
// connection went away.
int runIdleWatcher(uint32_t milliseconds);
