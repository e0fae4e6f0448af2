#pragma once
#include "dialogs/dialog_controller.h"
#include "dialogs/dialog_services.h"

// The configuration mode's own dialog (2003): empty and never shown. On its
// initialisation it runs the settings dialog, owned by the window active at
// that moment, and ends with the settings dialog's result. Every message is
// answered with 0.
class ConfigureDialog final : public DialogController {
public:
    explicit ConfigureDialog(DialogServices& services) : services_(services) {}
    intptr_t dialogProc(const Message& message) override;

private:
    DialogServices& services_;
};
