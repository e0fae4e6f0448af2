#pragma once
#include <cstdint>

#include "base/window_messages.h"

// The saver's own message and the parameter values its close rules test.
namespace msg {
// The first application-private message: the shell asks its own window to
// run the password check with it.
inline constexpr uint32_t kVerifyRequest = 0x8000;

inline constexpr uintptr_t kPowerSuspendRequest = 3;    // WM_POWER wParam
inline constexpr uintptr_t kPowerStatusChange = 10;     // WM_POWERBROADCAST event
inline constexpr uintptr_t kScNextWindow = 0xF040;
inline constexpr uintptr_t kScPrevWindow = 0xF050;
inline constexpr uintptr_t kScScreenSave = 0xF140;
}  // namespace msg
