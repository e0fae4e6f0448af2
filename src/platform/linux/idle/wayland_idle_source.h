#pragma once
// The session's idle time from its Wayland compositor: ext_idle_notifier_v1
// where offered (KWin 5.27, sway 1.8 and later, Hyprland, labwc, niri,
// COSMIC), else KDE's org_kde_kwin_idle (sway 1.7, older KWin). Both tell
// when the first seat has had no input for the time asked and when input
// comes again; the compositor leaves out the time an idle inhibitor (a
// playing video, sway's inhibit_idle) holds.
#include <cstdint>
#include <memory>

#include "platform/linux/idle/idle_source.h"

// Null when there is no compositor (WAYLAND_DISPLAY), it does not answer
// within kCompositorAnswerTime, or it offers neither protocol, or no seat.
std::unique_ptr<IdleSource> openWaylandIdle(uint32_t milliseconds);
