#pragma once
// The session's idle time from GNOME's compositor on the session bus:
// org.gnome.Mutter.IdleMonitor, an idle watch at the time asked and, once it
// fires, a watch for the next input. A watch lives as long as the
// connection that added it, hence the resident watcher. Mutter counts idle
// time regardless of inhibitors, so GNOME's session manager is asked
// (org.gnome.SessionManager.IsInhibited, the idle flag) before each start.
// Over libdbus-1, which SDL maps into the saver anyway.
#include <cstdint>
#include <memory>

#include "platform/linux/idle/idle_source.h"

// Null when there is no session bus or no idle monitor on it.
std::unique_ptr<IdleSource> openGnomeIdle(uint32_t milliseconds);
