#pragma once
#include <span>
#include <string_view>

#include "dialogs/dialog_controller.h"
#include "dialogs/help.h"
#include "ui/context_help.h"

// Where a dialog's help leads: the topic F1 and its Help button show, and
// the pop-up texts of its controls.
struct DialogHelp {
    std::string_view topic;
    std::span<const ContextTopicRow> popups;
    // The topic opens over the dialog; a settings page's opens over no
    // window, as the page is an owned window of the settings dialog.
    bool overDialog = true;
};

// A dialog with help. Every such dialog answers these alike, in rows of
// their own ahead of the dialog's: initialisation (its onInitDialog), F1 and
// the Help button (its topic), and a right-click on a control (the
// control's pop-up text; one on the dialog itself is left to the platform).
// The dialog lists only its own rows (ownMessage).
class HelpedDialog : public DialogController {
public:
    intptr_t dialogProc(const Message& message) final;

protected:
    HelpedDialog(Help& help, const DialogHelp& where) : help_(help), where_(where) {}

    virtual intptr_t onInitDialog(const Message&) = 0;
    // The dialog's own rows, for what the shared ones leave; 0 when none matches.
    virtual intptr_t ownMessage(const Message&) { return 0; }

private:
    static const MessageRow<HelpedDialog> kSharedRows[];

    intptr_t onHelp(const Message&);
    intptr_t onContextMenu(const Message& message);

    Help& help_;
    DialogHelp where_;
};
