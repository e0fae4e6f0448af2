#include "dialogs/dialog_keys.h"

#include "base/window_messages.h"

bool dialogKeyCommand(DialogKey key, const KeyFocus& focus, int defaultButton, int& button) {
    switch (key) {
    case DialogKey::CloseBox:
        button = msg::kIdCancel;
        return true;
    case DialogKey::Escape:
        if (focus.droppedList) return false;
        button = msg::kIdCancel;
        return true;
    case DialogKey::Enter:
        if (focus.pushButton || focus.droppedList) return false;
        button = defaultButton;
        return true;
    }
    return false;
}
