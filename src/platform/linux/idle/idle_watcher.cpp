#include "platform/linux/idle/idle_watcher.h"

#include <poll.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "platform/linux/idle/gnome_idle_source.h"
#include "platform/linux/idle/saver_child.h"
#include "platform/linux/idle/wayland_idle_source.h"
#include "platform/linux/idle/x11_idle_source.h"
#include "platform/linux/session/single_instance.h"

namespace {

// While idle time is held up by an inhibitor, the session manager is asked
// again this often: the saver starts once the video has ended.
constexpr int kInhibitorRecheckMs = 10'000;

std::string variable(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

// The session the watcher is the one of: its Wayland socket, else its X11
// display, else its bus.
std::string sessionName() {
    if (const std::string wayland = variable("WAYLAND_DISPLAY"); !wayland.empty())
        return wayland.front() == '/' ? wayland : variable("XDG_RUNTIME_DIR") + "/" + wayland;
    if (const std::string x11 = variable("DISPLAY"); !x11.empty()) return "x11-" + x11;
    return "bus-" + variable("DBUS_SESSION_BUS_ADDRESS");
}

std::string minutesText(uint32_t milliseconds) {
    char text[32];
    std::snprintf(text, sizeof text, "%g minute%s", milliseconds / 60000.0, milliseconds == 60000 ? "" : "s");
    return text;
}

int watch(IdleSource& source, SingleInstance& instance) {
    SaverChild saver;
    uint32_t handled = source.idlePeriod();  // the last idle period that started the saver
    bool heldByInhibitor = false;
    for (;;) {
        if (!source.readEvents()) {
            std::fprintf(stderr, "lumara: %s went away with the session; no longer watching\n", source.name());
            return 1;
        }
        heldByInhibitor = false;
        if (!saver.running() && source.idle() && source.idlePeriod() != handled) {
            heldByInhibitor = source.inhibited();
            if (!heldByInhibitor) {
                handled = source.idlePeriod();
                saver.start();
            }
        }
        pollfd ready[2] = {{source.descriptor(), POLLIN, 0}, {saver.descriptor(), POLLIN, 0}};
        int timeout = source.readAgainAfter();
        if (heldByInhibitor) timeout = timeout < 0 ? kInhibitorRecheckMs : std::min(timeout, kInhibitorRecheckMs);
        if (poll(ready, saver.running() ? 2 : 1, timeout) < 0 && errno != EINTR) return 1;
        // A second watcher that knocked has ended by itself.
        instance.raiseRequested();
        if (saver.running() && ready[1].revents != 0) {
            saver.reap();
            // What came while it ran is its own period: the next start
            // needs input and a new idle time.
            handled = source.idlePeriod();
        }
    }
}

}  // namespace

int runIdleWatcher(uint32_t milliseconds) {
    SingleInstance instance("idle-" + sessionName());
    if (!instance.claimOrRaiseRunning()) {
        std::fputs("lumara: another lumara --idle already watches this session\n", stderr);
        return 0;
    }
    std::unique_ptr<IdleSource> source = openWaylandIdle(milliseconds);
    if (!source) source = openGnomeIdle(milliseconds);
    if (!source) {
        X11IdleOpening x11 = openX11Idle(milliseconds);
        if (!x11.otherSaver.empty()) {
            std::fprintf(stderr, "lumara: %s; not watching\n", x11.otherSaver.c_str());
            return 0;
        }
        source = std::move(x11.source);
    }
    if (!source) {
        std::fputs("lumara: this session tells no idle time (no Wayland idle protocol, no GNOME idle monitor on the "
                   "session bus, no X11 display with MIT-SCREEN-SAVER); not watching\n",
                   stderr);
        return 1;
    }
    std::fprintf(stderr, "lumara: the saver starts after %s of idle time (%s)\n", minutesText(milliseconds).c_str(),
                 source->name());
    return watch(*source, instance);
}
