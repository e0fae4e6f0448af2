#include "dialogs/new_preset_dialog.h"

#include "dialogs/translate_dialog.h"
#include "ui/context_help.h"
#include "ui/dialog_ids.h"

namespace {

constexpr int32_t kAny = MessageRow<NewPresetDialog>::kAny;

}  // namespace

const MessageRow<NewPresetDialog> NewPresetDialog::kMessages[] = {
    {msg::kInitDialog, kAny, kAny, &NewPresetDialog::onInitDialog},
    {msg::kCommand, dlg::kOk, kAny, &NewPresetDialog::onOk},
    {msg::kCommand, dlg::kCancel, kAny, &NewPresetDialog::onCancel},
    {msg::kCommand, dlg::kHelp, kAny, &NewPresetDialog::onHelp},
    {msg::kHelp, kAny, kAny, &NewPresetDialog::onHelp},
    {msg::kContextMenu, kAny, kAny, &NewPresetDialog::onContextMenu},
};

intptr_t NewPresetDialog::dialogProc(const Message& m) { return dispatchMessage<NewPresetDialog>(*this, kMessages, m); }

intptr_t NewPresetDialog::onInitDialog(const Message&) {
    view().centre();
    view().setTextLimit(dlg::kPresetName, kNameLimit);
    view().focus(dlg::kPresetName);
    TranslateDialog(view(), dlg::kNewPreset, services_.settings.LanguageTable);
    return 1;
}

// Reads at most the limit, also when a language file put a longer text
// into the field.
intptr_t NewPresetDialog::onOk(const Message&) {
    std::string typed = view().text(dlg::kPresetName, kNameLimit);
    if (typed.empty()) return 1;
    name_ = std::move(typed);
    view().endDialog(msg::kIdOk);
    return 1;
}

intptr_t NewPresetDialog::onCancel(const Message&) {
    view().endDialog(msg::kIdCancel);
    return 1;
}

intptr_t NewPresetDialog::onHelp(const Message&) {
    services_.help.ShowHelpTopic(view().window(), "::/presetname.htm");
    return 1;
}

intptr_t NewPresetDialog::onContextMenu(const Message& m) {
    const auto clicked = static_cast<WindowHandle>(m.wParam);
    if (clicked == view().window()) return 0;
    services_.help.ShowContextHelp(clicked, view().controlId(clicked), newPresetContextTopics());
    return 1;
}
