#pragma once
// Every wait of the Wayland host on its compositor at the start, each with
// an end: a compositor that accepts the connection and never answers
// (hung, or stopped with SIGSTOP) must not hold a saver that swayidle waits
// for. Pairs with SDL's X11 connection, which fails rather than waits when
// the X server is gone.
// Implements: connecting to the socket WAYLAND_DISPLAY names (or the one
// inherited through WAYLAND_SOCKET), handling what the compositor sent
// while waiting on other descriptors beside it, and a round trip.
// Leaves out: the message loop's own waits, which end at the next frame,
// input or signal; a compositor that stops in the middle of a run leaves
// the saver waiting for it (no frame is drawn while it shows none), and
// SIGTERM still ends it.
#include <poll.h>

#include <chrono>
#include <span>
#include <string>

struct wl_display;

// The longest a start waits for the compositor to answer: far more than a
// busy compositor needs, and it ends a saver that would wait for ever.
inline constexpr std::chrono::milliseconds kCompositorAnswerTime{5000};

// The compositor's socket as the environment names it (wayland-0 by default).
std::string compositorName();

// The connection, or null when no compositor takes it within
// kCompositorAnswerTime (none listens, or too many wait to be accepted).
wl_display* connectToCompositor();

// Handles every event that came, after waiting up to `timeoutMs` for the
// compositor or one of `others` (their revents are set); false once the
// connection is gone.
bool dispatchWithin(wl_display* display, int timeoutMs, std::span<pollfd> others = {});

// Waits until the compositor has answered every request sent so far:
// Answered, or TimedOut after kCompositorAnswerTime, or Lost.
enum class RoundTrip { Answered, TimedOut, Lost };
RoundTrip roundTrip(wl_display* display);
