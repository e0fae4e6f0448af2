#include "platform/linux/settings_dialog/dialog_layout.h"

namespace {

// A check box on the top edge of an empty group box is its caption, as the
// group box's line runs behind it: GTK's frame takes it as its label. True
// for each control that went into a frame.
std::vector<bool> frameCaptions(const DialogTemplate& dialog, const std::vector<ControlWidget>& controls) {
    std::vector<bool> framed(controls.size(), false);
    for (size_t g = 0; g < controls.size(); ++g) {
        const ControlTemplate& group = dialog.controls[g];
        if (group.kind != ControlKind::GroupBox || !group.text.empty()) continue;
        for (size_t c = 0; c < controls.size(); ++c) {
            const ControlTemplate& box = dialog.controls[c];
            if (box.kind == ControlKind::CheckBox && box.y == group.y && box.x >= group.x &&
                box.x + box.width <= group.x + group.width && !framed[c]) {
                gtk_frame_set_label_widget(GTK_FRAME(controls[g].outer), controls[c].outer);
                gtk_frame_set_label_align(GTK_FRAME(controls[g].outer), 0.0f, 0.5f);
                framed[c] = true;
                break;
            }
        }
    }
    return framed;
}

}  // namespace

ControlLayout layOutControls(const DialogTemplate& dialog, GtkWidget* fixed, GtkWindow* window,
                             const DialogUnits& units, std::span<const uint8_t> picture) {
    ControlLayout layout;
    std::vector<ControlWidget>& controls = layout.controls;
    for (const ControlTemplate& t : dialog.controls) controls.push_back(makeControlWidget(t, units, picture));
    for (size_t i = 0; i < controls.size(); ++i) {
        const ControlWidget& c = controls[i];
        const ControlTemplate& t = dialog.controls[i];
        if (t.style & style::kDefault) {
            layout.defaultButton = t.id;
            gtk_widget_set_can_default(c.outer, TRUE);
            if (window) gtk_window_set_default(window, c.outer);
        }
        if (c.kind == ControlKind::Label)
            for (size_t next = i + 1; next < controls.size(); ++next)
                if (dialog.controls[next].style & style::kTabStop) {
                    gtk_label_set_mnemonic_widget(GTK_LABEL(c.outer), controls[next].inner);
                    break;
                }
        gtk_widget_show(c.outer);
    }
    const std::vector<bool> framed = frameCaptions(dialog, controls);
    for (size_t i = 0; i < controls.size(); ++i) {
        const ControlTemplate& t = dialog.controls[i];
        if (!framed[i]) gtk_fixed_put(GTK_FIXED(fixed), controls[i].outer, units.x(t.x), units.y(t.y));
    }
    return layout;
}
