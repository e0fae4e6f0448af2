#include "platform/linux/idle/x11_idle_source.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/extensions/scrnsaver.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace {

// The display going away ends the watcher; Xlib would end it anyway, with
// a line that names no one.
int displayGone(Display*) {
    std::fputs("lumara: the X display went away\n", stderr);
    std::fflush(stderr);
    _exit(1);
}

// Whether xscreensaver runs on the display: its window, a child of the
// root, carries _SCREENSAVER_VERSION.
bool xscreensaverRuns(Display* display) {
    const Atom version = XInternAtom(display, "_SCREENSAVER_VERSION", True);
    Window root = 0, parent = 0, *children = nullptr;
    unsigned count = 0;
    if (version == None || !XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count))
        return false;
    bool found = false;
    for (unsigned i = 0; i < count && !found; ++i) {
        Atom type = None;
        int format = 0;
        unsigned long items = 0, after = 0;
        unsigned char* value = nullptr;
        found = XGetWindowProperty(display, children[i], version, 0, 0, False, AnyPropertyType, &type, &format,
                                   &items, &after, &value) == Success &&
                type != None;
        if (value) XFree(value);
    }
    if (children) XFree(children);
    return found;
}

class X11IdleSource final : public IdleSource {
public:
    X11IdleSource(Display* display, uint32_t milliseconds)
        : display_(display), milliseconds_(milliseconds), info_(XScreenSaverAllocInfo()) {}
    ~X11IdleSource() override {
        XFree(info_);
        XCloseDisplay(display_);
    }

    const char* name() const override { return "MIT-SCREEN-SAVER"; }
    int descriptor() const override { return ConnectionNumber(display_); }
    bool idle() const override { return idle_; }
    uint32_t idlePeriod() const override { return period_; }

    bool readEvents() override {
        if (!info_ || !XScreenSaverQueryInfo(display_, DefaultRootWindow(display_), info_)) return false;
        idleFor_ = info_->idle;
        const bool idle = idleFor_ >= milliseconds_;
        period_ += idle && !idle_ ? 1 : 0;
        idle_ = idle;
        // Nothing is asked for; whatever came is passed over.
        for (XEvent event; XPending(display_) > 0;) XNextEvent(display_, &event);
        return true;
    }

    // Just after the time is reached; while it is past, once a second.
    int readAgainAfter() const override {
        if (idle_) return 1000;
        return static_cast<int>(std::min<unsigned long>(milliseconds_ - idleFor_ + 10, 24ul * 3600 * 1000));
    }

private:
    Display* display_;
    unsigned long milliseconds_;
    XScreenSaverInfo* info_;
    unsigned long idleFor_ = 0;
    bool idle_ = false;
    uint32_t period_ = 0;
};

}  // namespace

X11IdleOpening openX11Idle(uint32_t milliseconds) {
    const char* name = std::getenv("DISPLAY");
    if (!name || !*name) return {};
    Display* display = XOpenDisplay(nullptr);
    if (!display) return {};
    XSetIOErrorHandler(displayGone);
    int event = 0, error = 0;
    int timeout = 0, interval = 0, blanking = 0, exposures = 0;
    XGetScreenSaver(display, &timeout, &interval, &blanking, &exposures);
    X11IdleOpening opening;
    if (!XScreenSaverQueryExtension(display, &event, &error)) {
        XCloseDisplay(display);
    } else if (xscreensaverRuns(display)) {
        opening.otherSaver = "xscreensaver runs on this display and starts the screen saver";
        XCloseDisplay(display);
    } else if (timeout > 0 && static_cast<uint32_t>(timeout) * 1000u <= milliseconds) {
        opening.otherSaver = "the X server's own screen saver starts after " + std::to_string(timeout) +
                             " s, before Lumara would (xset s off turns it off)";
        XCloseDisplay(display);
    } else {
        opening.source = std::make_unique<X11IdleSource>(display, milliseconds);
    }
    return opening;
}
