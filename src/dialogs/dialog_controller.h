#pragma once
#include <cstdint>
#include <span>

#include "base/window_messages.h"
#include "dialogs/dialog_view.h"

// One dialog or page: a message procedure over its view. Views deliver
// messages with Windows' numbers; the procedure answers like a Windows
// dialog procedure: non-zero when it handled the message, 0 to leave it to
// the platform's default dialog handling (Enter, Esc, Tab among controls).
class DialogController {
public:
    virtual ~DialogController() = default;

    // The view calls this before it delivers the first message.
    void attach(DialogView& view) { view_ = &view; }
    virtual intptr_t dialogProc(const Message& message) = 0;

protected:
    DialogView& view() { return *view_; }

private:
    DialogView* view_ = nullptr;
};

// A row of a controller's message table: the message, and for WM_COMMAND and
// WM_NOTIFY the control id and notification code it takes (kAny: every one).
template <class Dialog>
struct MessageRow {
    static constexpr int32_t kAny = INT32_MIN;
    uint32_t message;
    int32_t control;
    int32_t code;
    intptr_t (Dialog::*handler)(const Message&);
};

// The first row that matches; null when none does.
template <class Dialog>
const MessageRow<Dialog>* matchingRow(std::span<const MessageRow<Dialog>> rows, const Message& m) {
    int32_t control = MessageRow<Dialog>::kAny, code = MessageRow<Dialog>::kAny;
    if (m.id == msg::kCommand) {
        control = static_cast<int32_t>(m.wParam & 0xFFFF);
        code = static_cast<int32_t>((m.wParam >> 16) & 0xFFFF);
    } else if (m.id == msg::kNotify) {
        control = static_cast<int32_t>(m.wParam);
        code = static_cast<int32_t>(m.lParam);
    }
    for (const MessageRow<Dialog>& row : rows) {
        if (row.message != m.id) continue;
        if (row.control != MessageRow<Dialog>::kAny && row.control != control) continue;
        if (row.code != MessageRow<Dialog>::kAny && row.code != code) continue;
        return &row;
    }
    return nullptr;
}

// Runs the handler of the first row that matches; 0 when none does.
template <class Dialog>
intptr_t dispatchMessage(Dialog& dialog, std::span<const MessageRow<Dialog>> rows, const Message& m) {
    const MessageRow<Dialog>* row = matchingRow(rows, m);
    return row ? (dialog.*row->handler)(m) : 0;
}
