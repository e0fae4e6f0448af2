#include "dialogs/dialog_keys.h"

#include "base/window_messages.h"

std::optional<int> dialogKeyCommand(DialogKey key, const KeyFocus& focus, int defaultButton) {
    switch (key) {
    case DialogKey::CloseBox: return msg::kIdCancel;
    case DialogKey::Escape:
        if (focus.droppedList) return std::nullopt;
        return msg::kIdCancel;
    case DialogKey::Enter:
        if (focus.pushButton || focus.droppedList) return std::nullopt;
        return defaultButton;
    }
    return std::nullopt;
}
