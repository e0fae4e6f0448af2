#pragma once
// The session's idle time on X11: the MIT-SCREEN-SAVER extension's time
// since the last input, read when it should reach the time asked (and
// once a second while it is past, to see input come). What resets the X
// server's screen-saver timer (xdg-screensaver, XResetScreenSaver, which
// video players call) resets it too.
#include <cstdint>
#include <memory>
#include <string>

#include "platform/linux/idle/idle_source.h"

struct X11IdleOpening {
    std::unique_ptr<IdleSource> source;  // null when none is offered or another saver owns the display
    std::string otherSaver;              // that other saver, in a few words; empty when none
};

// The display DISPLAY names. Another screen saver owns it when xscreensaver
// runs there, or when the X server's own saver is on and would start no
// later than Lumara (a desktop with a saver of its own turns it on; the
// server's default of 10 minutes counts too: `xset s off` hands it over).
X11IdleOpening openX11Idle(uint32_t milliseconds);
