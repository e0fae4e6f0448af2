#pragma once
#include <cstdint>

// The window messages the saver's logic speaks, with the values Windows
// gives them. The Windows host passes real messages; the Linux host turns
// its events into these, so the close rules and the frame order are
// written once.
using WindowHandle = uintptr_t;  // 0 is no window

struct Message {
    uint32_t id = 0;
    uintptr_t wParam = 0;
    intptr_t lParam = 0;
};

namespace msg {
inline constexpr uint32_t kCreate = 0x0001;
inline constexpr uint32_t kDestroy = 0x0002;
inline constexpr uint32_t kSetText = 0x000C;
inline constexpr uint32_t kSize = 0x0005;
inline constexpr uint32_t kPaint = 0x000F;
inline constexpr uint32_t kClose = 0x0010;
inline constexpr uint32_t kQuit = 0x0012;
inline constexpr uint32_t kEraseBackground = 0x0014;
inline constexpr uint32_t kShowWindow = 0x0018;
inline constexpr uint32_t kActivateApp = 0x001C;
inline constexpr uint32_t kSetCursor = 0x0020;
inline constexpr uint32_t kPower = 0x0048;
inline constexpr uint32_t kHelp = 0x0053;
inline constexpr uint32_t kContextMenu = 0x007B;
inline constexpr uint32_t kKeyDown = 0x0100;
inline constexpr uint32_t kSysKeyDown = 0x0104;
inline constexpr uint32_t kSysCommand = 0x0112;
inline constexpr uint32_t kTimer = 0x0113;
inline constexpr uint32_t kMouseMove = 0x0200;
inline constexpr uint32_t kLButtonDown = 0x0201;
inline constexpr uint32_t kRButtonDown = 0x0204;
inline constexpr uint32_t kMButtonDown = 0x0207;
inline constexpr uint32_t kPowerBroadcast = 0x0218;
// The first application-private message: the shell asks its own window to
// run the password check with it.
inline constexpr uint32_t kVerifyRequest = 0x8000;

inline constexpr uintptr_t kPowerSuspendRequest = 3;    // WM_POWER wParam
inline constexpr uintptr_t kPowerStatusChange = 10;     // WM_POWERBROADCAST event
inline constexpr uintptr_t kScNextWindow = 0xF040;
inline constexpr uintptr_t kScPrevWindow = 0xF050;
inline constexpr uintptr_t kScScreenSave = 0xF140;
}  // namespace msg
