#pragma once
#include <cstdint>

// The window messages the portable logic speaks, with the values Windows
// gives them. The Windows adapters pass real messages; the Linux adapters
// turn their events and widget signals into these, so the saver's close
// rules and the dialogs' behaviour are written and tested once.
using WindowHandle = uintptr_t;  // 0 is no window

struct Message {
    uint32_t id = 0;
    uintptr_t wParam = 0;
    intptr_t lParam = 0;
};

namespace msg {
inline constexpr uint32_t kCreate = 0x0001;
inline constexpr uint32_t kDestroy = 0x0002;
inline constexpr uint32_t kMove = 0x0003;
inline constexpr uint32_t kSize = 0x0005;  // lParam: width | height << 16
inline constexpr uint32_t kSetText = 0x000C;
inline constexpr uint32_t kPaint = 0x000F;
inline constexpr uint32_t kClose = 0x0010;
inline constexpr uint32_t kEraseBackground = 0x0014;
inline constexpr uint32_t kShowWindow = 0x0018;
inline constexpr uint32_t kActivateApp = 0x001C;
inline constexpr uint32_t kSetCursor = 0x0020;
inline constexpr uint32_t kPower = 0x0048;
// A dialog's WM_NOTIFY carries the control id in wParam. Its lParam points
// to a platform record on Windows; the views hand the controllers the
// record's notification code in lParam instead.
inline constexpr uint32_t kNotify = 0x004E;
inline constexpr uint32_t kHelp = 0x0053;
inline constexpr uint32_t kContextMenu = 0x007B;  // wParam: the window clicked
inline constexpr uint32_t kKeyDown = 0x0100;
inline constexpr uint32_t kSysKeyDown = 0x0104;
inline constexpr uint32_t kInitDialog = 0x0110;
inline constexpr uint32_t kCommand = 0x0111;  // wParam: control id | notification code << 16
inline constexpr uint32_t kSysCommand = 0x0112;
inline constexpr uint32_t kTimer = 0x0113;
inline constexpr uint32_t kHScroll = 0x0114;  // lParam: the trackbar's window
inline constexpr uint32_t kMouseMove = 0x0200;
inline constexpr uint32_t kLButtonDown = 0x0201;
inline constexpr uint32_t kRButtonDown = 0x0204;
inline constexpr uint32_t kMButtonDown = 0x0207;
inline constexpr uint32_t kPowerBroadcast = 0x0218;

// Notification codes of WM_COMMAND and WM_NOTIFY.
inline constexpr uint16_t kButtonClicked = 0;  // BN_CLICKED
inline constexpr uint16_t kListSelectionChange = 1;   // LBN_SELCHANGE
inline constexpr uint16_t kComboSelectionChange = 1;  // CBN_SELCHANGE
inline constexpr int32_t kTabSelectionChange = -551;    // TCN_SELCHANGE
inline constexpr int32_t kTabSelectionChanging = -552;  // TCN_SELCHANGING

// Dialog results and the command ids of the standard buttons.
inline constexpr int kIdOk = 1;
inline constexpr int kIdCancel = 2;

// Two 16-bit values in one parameter, `low` in bits 0..15 and `high` in
// bits 16..31, as Windows packs a control id with its notification code, a
// size or a screen point (MAKEWPARAM, MAKELPARAM).
constexpr uint32_t halves(int32_t low, int32_t high) {
    return (static_cast<uint32_t>(high) & 0xFFFFu) << 16 | (static_cast<uint32_t>(low) & 0xFFFFu);
}

// WM_COMMAND as a control sends it.
constexpr Message command(int controlId, uint16_t code = kButtonClicked) {
    return {kCommand, halves(controlId, code), 0};
}

// WM_SIZE as a window receives it after its client area changed.
constexpr Message size(int32_t width, int32_t height) {
    return {kSize, 0, static_cast<intptr_t>(halves(width, height))};
}
}  // namespace msg
