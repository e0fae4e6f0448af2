#include "dialogs/translate_dialog.h"

void TranslateDialog(DialogView& view, uint32_t dialogId, const LanguageTable& table) {
    for (const DescendantWindow& d : view.descendants()) {
        // An unnamed control's -1 is no id of the table.
        const std::string& text = LookupText(table, static_cast<uint32_t>(d.controlId));
        if (!text.empty()) view.setWindowText(d.window, text);
    }
    const std::string& caption = LookupText(table, dialogId);
    if (!caption.empty()) view.setWindowText(view.window(), caption);
}
