#include "dialogs/configure_dialog.h"

#include "dialogs/settings_dialog.h"
#include "ui/dialog_ids.h"

intptr_t ConfigureDialog::dialogProc(const Message& m) {
    if (m.id == msg::kInitDialog) {
        SettingsDialog settings(services_);
        view().endDialog(view().runModal(dlg::kSettings, settings));
    }
    return 0;
}
