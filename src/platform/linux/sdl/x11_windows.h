#pragma once
#include <cstdint>

// Questions about foreign X11 windows (the preview pane a host gives us by
// number), answered without letting X11 end the process over a window
// that does not exist.
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
