#include "dialogs/new_preset_dialog.h"

#include "dialogs/translate_dialog.h"
#include "ui/context_help.h"
#include "ui/dialog_ids.h"

namespace {

constexpr int32_t kAny = MessageRow<NewPresetDialog>::kAny;

}  // namespace

NewPresetDialog::NewPresetDialog(DialogServices& services)
    : HelpedDialog(services.help, {"::/presetname.htm", newPresetContextTopics()}), services_(services) {}

const MessageRow<NewPresetDialog> NewPresetDialog::kMessages[] = {
    {msg::kCommand, dlg::kOk, kAny, &NewPresetDialog::onOk},
    {msg::kCommand, dlg::kCancel, kAny, &NewPresetDialog::onCancel},
};

intptr_t NewPresetDialog::ownMessage(const Message& m) { return dispatchMessage<NewPresetDialog>(*this, kMessages, m); }

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
