#pragma once
#include <string>

#include "dialogs/dialog_controller.h"
#include "dialogs/dialog_services.h"

// Asks for the name of a new preset: 1 to 50 characters, blanks count; OK
// with an empty field keeps the dialog open.
class NewPresetDialog final : public DialogController {
public:
    static constexpr size_t kNameLimit = 50;

    explicit NewPresetDialog(DialogServices& services) : services_(services) {}
    intptr_t dialogProc(const Message& message) override;

    // The name typed, once the dialog ended with OK.
    const std::string& name() const { return name_; }

private:
    static const MessageRow<NewPresetDialog> kMessages[];

    intptr_t onInitDialog(const Message&);
    intptr_t onOk(const Message&);
    intptr_t onCancel(const Message&);
    intptr_t onHelp(const Message&);
    intptr_t onContextMenu(const Message& message);

    DialogServices& services_;
    std::string name_;
};
