#pragma once
// A dialog template's controls made and placed on a GtkFixed, each at its
// rectangle converted from dialog units (dialog_units.h), each kind's widget
// made by control_widgets.h. Pairs with GtkDialogView, which lays out every
// dialog and page this way and then wires the controls' signals; the layout
// makes no signal and knows no controller.
#include <gtk/gtk.h>

#include <cstdint>
#include <span>
#include <vector>

#include "base/window_messages.h"
#include "platform/linux/settings_dialog/control_widgets.h"
#include "platform/linux/settings_dialog/dialog_units.h"
#include "ui/dialog_template.h"

struct ControlLayout {
    std::vector<ControlWidget> controls;  // in the template's order
    int defaultButton = msg::kIdOk;       // the push button Enter clicks
};

// Shows the controls of `dialog` on `fixed`. The template's default push
// button becomes `window`'s default (null for a page, which has none of its
// own); a static text's mnemonic moves to the next control one can tab to;
// a check box on the top edge of an empty group box becomes the box's
// caption. `picture` is what picture controls show.
ControlLayout layOutControls(const DialogTemplate& dialog, GtkWidget* fixed, GtkWindow* window,
                             const DialogUnits& units, std::span<const uint8_t> picture);
