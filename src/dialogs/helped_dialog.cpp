#include "dialogs/helped_dialog.h"

#include "ui/dialog_ids.h"

namespace {

constexpr int32_t kAny = MessageRow<HelpedDialog>::kAny;

}  // namespace

const MessageRow<HelpedDialog> HelpedDialog::kSharedRows[] = {
    {msg::kInitDialog, kAny, kAny, &HelpedDialog::onInitDialog},
    {msg::kHelp, kAny, kAny, &HelpedDialog::onHelp},
    {msg::kCommand, dlg::kHelp, kAny, &HelpedDialog::onHelp},
    {msg::kContextMenu, kAny, kAny, &HelpedDialog::onContextMenu},
};

intptr_t HelpedDialog::dialogProc(const Message& m) {
    if (const MessageRow<HelpedDialog>* row = matchingRow<HelpedDialog>(kSharedRows, m)) return (this->*row->handler)(m);
    return ownMessage(m);
}

intptr_t HelpedDialog::onHelp(const Message&) {
    help_.ShowHelpTopic(where_.overDialog ? view().window() : 0, where_.topic);
    return 1;
}

intptr_t HelpedDialog::onContextMenu(const Message& m) {
    const auto clicked = static_cast<WindowHandle>(m.wParam);
    if (clicked == view().window()) return 0;
    help_.ShowContextHelp(clicked, view().controlId(clicked), where_.popups);
    return 1;
}
