#pragma once
#include <cstdint>

#include "base/window_messages.h"

// The saver's own message and the parameter values its close rules test.
namespace msg {
// The first application-private message: the shell asks its own window to
// run the password check with it.
inline constexpr uint32_t kVerifyRequest = 0x8000;
// The second: the screen a full-screen saver covers changed its size (a
// Wayland output's new mode or scale), and its frame follows, as a hack's
// follows its window's kSize. A Windows saver's window keeps the size it
// started with, whatever kSize it gets, and never receives this one.
inline constexpr uint32_t kScreenResized = 0x8001;

inline constexpr uintptr_t kPowerSuspendRequest = 3;  // WM_POWER wParam

// WM_POWERBROADCAST events (wParam): the power status changed, or the
// system resumes; and the flag (lParam) of a resume after a failed suspend.
inline constexpr uintptr_t kPowerStatusChange = 10;      // PBT_APMPOWERSTATUSCHANGE
inline constexpr uintptr_t kPowerResumeCritical = 6;     // PBT_APMRESUMECRITICAL
inline constexpr uintptr_t kPowerResumeSuspend = 7;      // PBT_APMRESUMESUSPEND
inline constexpr uintptr_t kPowerResumeStandby = 8;      // PBT_APMRESUMESTANDBY
inline constexpr uintptr_t kPowerResumeAutomatic = 18;   // PBT_APMRESUMEAUTOMATIC
inline constexpr intptr_t kPowerResumeFromFailure = 1;   // PBTF_APMRESUMEFROMFAILURE

inline constexpr uintptr_t kScNextWindow = 0xF040;
inline constexpr uintptr_t kScPrevWindow = 0xF050;
inline constexpr uintptr_t kScScreenSave = 0xF140;
}  // namespace msg
