#pragma once
#include "dialogs/dialog_controller.h"
#include "dialogs/dialog_services.h"

// The About box: the product's name, version and picture, and the licence
// topic of the help file. Only "&Close" (or Enter) ends it; Esc and the
// close box leave it open.
class AboutDialog final : public DialogController {
public:
    explicit AboutDialog(DialogServices& services) : services_(services) {}
    intptr_t dialogProc(const Message& message) override;

private:
    static const MessageRow<AboutDialog> kMessages[];

    intptr_t onInitDialog(const Message&);
    intptr_t onClose(const Message&);
    intptr_t onLicense(const Message&);

    DialogServices& services_;
};
