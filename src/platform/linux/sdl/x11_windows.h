#pragma once
#include <cstdint>

// Questions SdlHost asks of X11 directly, which SDL does not answer: whether
// a foreign window (the preview pane a host gives us by number) exists and
// its size, answered without letting X11 end the process over a window that
// does not exist, and where the pointer is.
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

private:
    void* display_ = nullptr;  // Display*
};
