#pragma once
// A seat's keyboard and pointer over the saver's surfaces, as the host
// shell's messages. Pairs with SdlHost::dispatch (SDL's key, button and
// motion events) and X11Windows::pointer.
// Implements: a key or button pressed, pointer motion with where the
// pointer now is, no cursor over the saver's surfaces, and whether one of
// them has the keyboard focus (the host decides when that counts as lost).
// Leaves out: wheels (as SDL's wheel events on X11), key repeat and the
// keymap (any key ends the saver, whatever it means).
//
// Wayland tells a client where the pointer is only over its own surfaces,
// so pointer() measures from where the pointer was first seen over one of
// them: the close rule wants how far it moved, not where it started. (A
// compositor may announce a resting pointer only once it moves, as mutter
// does: that first move then shows where it is.) The
// surfaces tile the layout, so crossing from one output's surface to the
// next is motion like any other. A keyboard that goes away (a virtual one
// whose program ended) takes the focus nowhere, which is no loss.
#include <cstdint>

#include "platform/linux/wayland/wayland_display.h"
#include "saver/host_platform.h"
#include "saver/messages.h"

struct wl_array;
struct wl_keyboard;
struct wl_pointer;
struct wl_registry;
struct wl_seat;
struct wl_surface;

// The saver's side of the input.
class InputTarget {
public:
    virtual ~InputTarget() = default;
    // The top-left of the frame's part the surface shows, in the frame's
    // coordinates; false for a surface that is not (or no longer) the saver's.
    virtual bool surfaceOrigin(wl_surface* surface, ScreenPoint& origin) = 0;
    // A key, button or motion, as the message the host shell gets.
    virtual void inputMessage(const Message& message) = 0;
};

class WaylandSeat {
public:
    // Binds the seat and listens to it from its first event on.
    WaylandSeat(wl_registry* registry, const SeatGlobal& seat, InputTarget& target);
    ~WaylandSeat();
    WaylandSeat(const WaylandSeat&) = delete;
    WaylandSeat& operator=(const WaylandSeat&) = delete;

    // Where the pointer is, less where it was first seen over a saver
    // surface; (0, 0) until then.
    ScreenPoint pointer() const { return {position_.x - first_.x, position_.y - first_.y}; }
    bool pointerSeen() const { return pointerSeen_; }
    // No cursor over the saver's surfaces from now on.
    void hideCursor();
    // Where this seat's keyboard focus is: on a saver surface, left to
    // something else, or nowhere (no keyboard, or none yet).
    enum class Focus { Saver, Elsewhere, None };
    Focus focus() const { return focus_; }

    // The protocol's events (the listeners call these).
    void capabilities(uint32_t capabilities);
    void pointerEnter(wl_surface* surface, int32_t x, int32_t y, uint32_t serial);
    void pointerLeave();
    void pointerMotion(int32_t x, int32_t y);
    void button(uint32_t button, bool pressed);
    void key(bool pressed);
    void keyboardFocus(wl_surface* surface, bool entered);

private:
    void hideCursorNow();

    wl_seat* seat_;
    InputTarget& target_;
    wl_keyboard* keyboard_ = nullptr;
    wl_pointer* pointer_ = nullptr;
    ScreenPoint origin_;  // of the saver surface the pointer is over
    ScreenPoint position_, first_;
    bool overSaver_ = false;
    bool pointerSeen_ = false;
    bool cursorHidden_ = false;
    uint32_t enterSerial_ = 0;  // of the pointer's last entry into a saver surface (0 is a serial too)
    Focus focus_ = Focus::None;
};
