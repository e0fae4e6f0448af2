#pragma once
// `lumara --idle-enable MINUTES` and `lumara --idle-disable`: the idle
// watcher started at every login, through an XDG autostart entry
// ($XDG_CONFIG_HOME/autostart/lumara-idle.desktop, ~/.config/autostart),
// which GNOME, KDE Plasma, Xfce, Cinnamon, MATE and LXQt run. Both say in
// one line what they did and end with 0, or 1 when the entry could not be
// written or removed.
#include <cstdint>
#include <string>

// The entry's path; empty when neither XDG_CONFIG_HOME nor HOME is set.
std::string autostartEntryPath();

int enableIdleStart(uint32_t milliseconds);
int disableIdleStart();
