#include "platform/linux/x11/x11_windows.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>

namespace {

// A window number that names no window makes Xlib report BadWindow; the
// default handler would end the process.
int ignoreError(Display*, XErrorEvent*) { return 0; }

XID watchedWindow = 0;
bool watchedWindowLost = false;
XErrorHandler previousHandler = nullptr;

int noteLoss(Display* display, XErrorEvent* error) {
    if (error->resourceid == watchedWindow &&
        (error->error_code == BadWindow || error->error_code == BadDrawable || error->error_code == BadMatch)) {
        watchedWindowLost = true;
        return 0;
    }
    return previousHandler ? previousHandler(display, error) : 0;
}

}  // namespace

void X11Windows::tolerateLoss(uintptr_t window) {
    watchedWindow = static_cast<XID>(window);
    if (!previousHandler) previousHandler = XSetErrorHandler(noteLoss);
}

bool X11Windows::windowLost() { return watchedWindowLost; }

uintptr_t X11Windows::root() {
    auto* display = static_cast<Display*>(display_);
    return display ? DefaultRootWindow(display) : 0;
}

uintptr_t X11Windows::active() {
    auto* display = static_cast<Display*>(display_);
    if (!display) return 0;
    const Atom property = XInternAtom(display, "_NET_ACTIVE_WINDOW", False);
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    auto* previous = XSetErrorHandler(ignoreError);
    const int status = XGetWindowProperty(display, DefaultRootWindow(display), property, 0, 1, False, XA_WINDOW,
                                          &type, &format, &count, &after, &data);
    XSync(display, False);
    XSetErrorHandler(previous);
    Window window = None;
    if (status == Success && type == XA_WINDOW && format == 32 && count == 1 && data)
        window = *reinterpret_cast<const unsigned long*>(data);  // format 32 comes as longs
    if (data) XFree(data);
    return window;
}

X11Windows::X11Windows() : display_(XOpenDisplay(nullptr)) {}

X11Windows::~X11Windows() {
    if (display_) XCloseDisplay(static_cast<Display*>(display_));
}

bool X11Windows::size(uintptr_t window, int32_t& width, int32_t& height) {
    auto* display = static_cast<Display*>(display_);
    if (!display || window == 0 || window > 0xFFFFFFFFu) return false;
    auto* previous = XSetErrorHandler(ignoreError);
    XWindowAttributes attributes;
    const Status ok = XGetWindowAttributes(display, static_cast<Window>(window), &attributes);
    XSync(display, False);
    XSetErrorHandler(previous);
    if (!ok) return false;
    width = attributes.width;
    height = attributes.height;
    return true;
}

bool X11Windows::exists(uintptr_t window) {
    int32_t w = 0, h = 0;
    return size(window, w, h);
}

bool X11Windows::pointer(int32_t& x, int32_t& y) {
    auto* display = static_cast<Display*>(display_);
    if (!display) return false;
    Window root, child;
    int rootX = 0, rootY = 0, winX = 0, winY = 0;
    unsigned int buttons = 0;
    if (!XQueryPointer(display, DefaultRootWindow(display), &root, &child, &rootX, &rootY, &winX, &winY, &buttons))
        return false;
    x = rootX;
    y = rootY;
    return true;
}

bool X11Windows::watch(uintptr_t window) {
    auto* display = static_cast<Display*>(display_);
    if (!display || window == 0 || window > 0xFFFFFFFFu) return false;
    auto* previous = XSetErrorHandler(ignoreError);
    XSelectInput(display, static_cast<Window>(window), StructureNotifyMask | ExposureMask);
    XSync(display, False);
    XSetErrorHandler(previous);
    // Asked after the selection: a window that went before it is not there.
    return exists(window);
}

int X11Windows::descriptor() const {
    return display_ ? ConnectionNumber(static_cast<Display*>(display_)) : -1;
}

bool X11Windows::takeChanges() {
    auto* display = static_cast<Display*>(display_);
    if (!display) return false;
    bool came = false;
    while (XPending(display) > 0) {
        XEvent event;
        XNextEvent(display, &event);
        came = true;
    }
    return came;
}

bool X11Windows::changesQueued() const {
    return display_ && XEventsQueued(static_cast<Display*>(display_), QueuedAlready) > 0;
}
