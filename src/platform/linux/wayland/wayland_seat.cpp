#include "platform/linux/wayland/wayland_seat.h"

#include <linux/input-event-codes.h>
#include <unistd.h>
#include <wayland-client.h>

#include <algorithm>

namespace {

constexpr uint32_t kSeatVersion = 5;  // the version whose events the listeners below answer

WaylandSeat& seatOf(void* data) { return *static_cast<WaylandSeat*>(data); }

void onCapabilities(void* data, wl_seat*, uint32_t capabilities) { seatOf(data).capabilities(capabilities); }
void onSeatName(void*, wl_seat*, const char*) {}

const wl_seat_listener kSeatListener = {onCapabilities, onSeatName};

void onPointerEnter(void* data, wl_pointer*, uint32_t serial, wl_surface* surface, wl_fixed_t x, wl_fixed_t y) {
    seatOf(data).pointerEnter(surface, wl_fixed_to_int(x), wl_fixed_to_int(y), serial);
}

void onPointerLeave(void* data, wl_pointer*, uint32_t, wl_surface*) { seatOf(data).pointerLeave(); }

void onPointerMotion(void* data, wl_pointer*, uint32_t, wl_fixed_t x, wl_fixed_t y) {
    seatOf(data).pointerMotion(wl_fixed_to_int(x), wl_fixed_to_int(y));
}

void onButton(void* data, wl_pointer*, uint32_t, uint32_t, uint32_t button, uint32_t state) {
    seatOf(data).button(button, state == WL_POINTER_BUTTON_STATE_PRESSED);
}

void onAxis(void*, wl_pointer*, uint32_t, uint32_t, wl_fixed_t) {}
void onPointerFrame(void*, wl_pointer*) {}
void onAxisSource(void*, wl_pointer*, uint32_t) {}
void onAxisStop(void*, wl_pointer*, uint32_t, uint32_t) {}
void onAxisDiscrete(void*, wl_pointer*, uint32_t, int32_t) {}

const wl_pointer_listener kPointerListener = {onPointerEnter, onPointerLeave, onPointerMotion, onButton,      onAxis,
                                              onPointerFrame, onAxisSource,   onAxisStop,      onAxisDiscrete, nullptr};

// The keymap is not needed: every key counts the same.
void onKeymap(void*, wl_keyboard*, uint32_t, int32_t fd, uint32_t) { close(fd); }

void onKeyboardEnter(void* data, wl_keyboard*, uint32_t, wl_surface* surface, wl_array*) {
    seatOf(data).keyboardFocus(surface, true);
}

void onKeyboardLeave(void* data, wl_keyboard*, uint32_t, wl_surface* surface) {
    seatOf(data).keyboardFocus(surface, false);
}

void onKey(void* data, wl_keyboard*, uint32_t, uint32_t, uint32_t, uint32_t state) {
    seatOf(data).key(state == WL_KEYBOARD_KEY_STATE_PRESSED);
}

void onModifiers(void*, wl_keyboard*, uint32_t, uint32_t, uint32_t, uint32_t, uint32_t) {}
void onRepeatInfo(void*, wl_keyboard*, int32_t, int32_t) {}

const wl_keyboard_listener kKeyboardListener = {onKeymap, onKeyboardEnter, onKeyboardLeave,
                                                onKey,    onModifiers,     onRepeatInfo};

}  // namespace

WaylandSeat::WaylandSeat(wl_registry* registry, const SeatGlobal& seat, InputTarget& target)
    : seat_(static_cast<wl_seat*>(
          wl_registry_bind(registry, seat.name, &wl_seat_interface, std::min(seat.version, kSeatVersion)))),
      target_(target) {
    wl_seat_add_listener(seat_, &kSeatListener, this);
}

WaylandSeat::~WaylandSeat() {
    capabilities(0);
    if (wl_seat_get_version(seat_) >= WL_SEAT_RELEASE_SINCE_VERSION) wl_seat_release(seat_);
    else wl_seat_destroy(seat_);
}

void WaylandSeat::capabilities(uint32_t capabilities) {
    const bool releasable = wl_seat_get_version(seat_) >= WL_KEYBOARD_RELEASE_SINCE_VERSION;
    if ((capabilities & WL_SEAT_CAPABILITY_KEYBOARD) && !keyboard_) {
        keyboard_ = wl_seat_get_keyboard(seat_);
        wl_keyboard_add_listener(keyboard_, &kKeyboardListener, this);
    } else if (!(capabilities & WL_SEAT_CAPABILITY_KEYBOARD) && keyboard_) {
        releasable ? wl_keyboard_release(keyboard_) : wl_keyboard_destroy(keyboard_);
        keyboard_ = nullptr;
        focus_ = Focus::None;
    }
    if ((capabilities & WL_SEAT_CAPABILITY_POINTER) && !pointer_) {
        pointer_ = wl_seat_get_pointer(seat_);
        wl_pointer_add_listener(pointer_, &kPointerListener, this);
    } else if (!(capabilities & WL_SEAT_CAPABILITY_POINTER) && pointer_) {
        releasable ? wl_pointer_release(pointer_) : wl_pointer_destroy(pointer_);
        pointer_ = nullptr;
        pointerLeave();
    }
}

// Entering a surface places the pointer at a point of that surface, which
// lies at its part of the frame; motion moves it within that surface.
void WaylandSeat::pointerEnter(wl_surface* surface, int32_t x, int32_t y, uint32_t serial) {
    overSaver_ = target_.surfaceOrigin(surface, origin_);
    if (!overSaver_) return;
    enterSerial_ = serial;
    if (cursorHidden_) hideCursorNow();
    pointerMotion(x, y);
}

void WaylandSeat::pointerLeave() { overSaver_ = false; }

void WaylandSeat::pointerMotion(int32_t x, int32_t y) {
    if (!overSaver_) return;
    position_ = {origin_.x + x, origin_.y + y};
    if (!pointerSeen_) {
        first_ = position_;
        pointerSeen_ = true;
        return;
    }
    target_.inputMessage(Message{msg::kMouseMove, 0, 0});
}

void WaylandSeat::button(uint32_t button, bool pressed) {
    if (!pressed) return;
    const uint32_t id = button == BTN_RIGHT    ? msg::kRButtonDown
                        : button == BTN_MIDDLE ? msg::kMButtonDown
                                               : msg::kLButtonDown;
    target_.inputMessage(Message{id, 0, 0});
}

void WaylandSeat::key(bool pressed) {
    if (pressed) target_.inputMessage(Message{msg::kKeyDown, 0, 0});
}

// A seat's keyboard focus is on one surface at a time: moving it from one
// saver surface to another is a leave and an enter.
void WaylandSeat::keyboardFocus(wl_surface* surface, bool entered) {
    ScreenPoint origin;
    focus_ = entered && target_.surfaceOrigin(surface, origin) ? Focus::Saver : Focus::Elsewhere;
}

void WaylandSeat::hideCursor() {
    cursorHidden_ = true;
    hideCursorNow();
}

void WaylandSeat::hideCursorNow() {
    if (pointer_ && overSaver_) wl_pointer_set_cursor(pointer_, enterSerial_, nullptr, 0, 0);
}
