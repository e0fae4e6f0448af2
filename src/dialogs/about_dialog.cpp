#include "dialogs/about_dialog.h"

#include "dialogs/translate_dialog.h"
#include "ui/dialog_ids.h"

namespace {

constexpr int32_t kAny = MessageRow<AboutDialog>::kAny;

}  // namespace

const MessageRow<AboutDialog> AboutDialog::kMessages[] = {
    {msg::kInitDialog, kAny, kAny, &AboutDialog::onInitDialog},
    {msg::kCommand, dlg::kOk, kAny, &AboutDialog::onClose},
    {msg::kCommand, dlg::kLicense, kAny, &AboutDialog::onLicense},
};

intptr_t AboutDialog::dialogProc(const Message& m) { return dispatchMessage<AboutDialog>(*this, kMessages, m); }

intptr_t AboutDialog::onInitDialog(const Message&) {
    view().centre();
    TranslateDialog(view(), dlg::kAbout, services_.settings.LanguageTable);
    return 1;
}

intptr_t AboutDialog::onClose(const Message&) {
    view().endDialog(msg::kIdOk);
    return 1;
}

intptr_t AboutDialog::onLicense(const Message&) {
    services_.help.ShowHelpTopic(view().window(), "::/license.htm");
    return 1;
}
