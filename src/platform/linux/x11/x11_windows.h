#pragma once
#include <cstdint>

// Questions SdlHost asks of X11 directly, which SDL does not answer: whether
// a foreign window (the preview pane a host gives us by number, the window a
// screen-saver daemon draws us into, the owner of the settings dialog)
// exists and its size, answered without letting X11 end the process over a
// window that does not exist, and the changes of one it watches; which window the desktop has active; and
// where the pointer is.
// Leaves out: everything that is not X11 (under Wayland alone these fail).
class X11Windows {
public:
    X11Windows();
    ~X11Windows();
    X11Windows(const X11Windows&) = delete;
    X11Windows& operator=(const X11Windows&) = delete;

    bool exists(uintptr_t window);
    // Width and height of the window; false when it does not exist.
    bool size(uintptr_t window, int32_t& width, int32_t& height);
    // Where the pointer is on the screen; false without a display.
    bool pointer(int32_t& x, int32_t& y);
    // The default screen's root window; 0 without a display.
    uintptr_t root();
    // The window the desktop has active (the root window's
    // _NET_ACTIVE_WINDOW); 0 when it names none.
    uintptr_t active();

    // Tells this connection of the window's changes (its size, its end,
    // its picture lost under another window),
    // so a loop can sleep until one comes instead of asking again and
    // again; false when the window does not exist.
    bool watch(uintptr_t window);
    // The connection's descriptor, readable when a change of a watched
    // window may have come; -1 without a display.
    int descriptor() const;
    // Takes every change that came; true when there was one.
    bool takeChanges();
    // Whether a change already waits in the connection's own queue (read
    // there while another answer was awaited), where no wait would see it.
    bool changesQueued() const;

    // From now on an error about `window` on any connection no longer ends
    // the process (Xlib's default answer): a daemon's window can go away
    // between two frames drawn into it. windowLost() then turns true.
    static void tolerateLoss(uintptr_t window);
    static bool windowLost();

private:
    void* display_ = nullptr;  // Display*
};
