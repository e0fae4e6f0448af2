#pragma once
#include <string>

#include "dialogs/dialog_services.h"
#include "dialogs/helped_dialog.h"

// Asks for the name of a new preset: 1 to 50 characters, blanks count; OK
// with an empty field keeps the dialog open.
class NewPresetDialog final : public HelpedDialog {
public:
    static constexpr size_t kNameLimit = 50;

    explicit NewPresetDialog(DialogServices& services);

    // The name typed, once the dialog ended with OK.
    const std::string& name() const { return name_; }

private:
    static const MessageRow<NewPresetDialog> kMessages[];

    intptr_t onInitDialog(const Message&) override;
    intptr_t ownMessage(const Message& message) override;
    intptr_t onOk(const Message&);
    intptr_t onCancel(const Message&);

    DialogServices& services_;
    std::string name_;
};
