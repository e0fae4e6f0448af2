// GtkDialogView: the dialog manager's keys and the right mouse button.
// Enter, Esc and the close box click the button dialogs/dialog_keys.h names;
// F1 asks for help (WM_HELP) for the dialog or page holding the focus;
// Shift+F10, the menu key and a right-click ask for a control's context
// menu (WM_CONTEXTMENU), a right-click for the control under the pointer.
#include "platform/linux/settings_dialog/gtk_dialog_view.h"

namespace {

// Controls a click passes through to what lies beneath, as Windows' static
// controls do; and the edit field, which shows its own menu.
bool clickThrough(ControlKind kind) {
    return kind == ControlKind::Label || kind == ControlKind::GroupBox || kind == ControlKind::EtchedLine ||
           kind == ControlKind::Picture || kind == ControlKind::Edit;
}

bool isPushButton(GtkWidget* widget) {
    return widget && GTK_IS_BUTTON(widget) && !GTK_IS_TOGGLE_BUTTON(widget);
}

}  // namespace

bool GtkDialogView::onKey(const GdkEventKey& key) {
    GtkWidget* focused = gtk_window_get_focus(GTK_WINDOW(window_));
    const bool shift = (key.state & GDK_SHIFT_MASK) != 0;
    switch (key.keyval) {
    case GDK_KEY_Escape: return dialogKey(DialogKey::Escape, focused);
    case GDK_KEY_Return:
    case GDK_KEY_KP_Enter:
    case GDK_KEY_ISO_Enter: return dialogKey(DialogKey::Enter, focused);
    case GDK_KEY_F1: viewHolding(focused).deliver(Message{msg::kHelp, 0, 0}); return true;
    case GDK_KEY_F10:
        if (!shift) return false;
        [[fallthrough]];
    case GDK_KEY_Menu:
        if (!focused || GTK_IS_ENTRY(focused)) return false;
        contextMenuFor(focused, lastX_, lastY_);
        return true;
    default: return false;
    }
}

// An open drop-down list holds the keyboard while it is open, so its keys
// never come here: the focus is never a dropped list.
bool GtkDialogView::dialogKey(DialogKey key, GtkWidget* focused) {
    int clicked = 0;
    if (!dialogKeyCommand(key, {.pushButton = isPushButton(focused)}, defaultId_, clicked)) return false;
    command(clicked, msg::kButtonClicked);
    return true;
}

// The control under the pointer: the smallest one that takes clicks, so a
// page's control wins over the tab control behind it. No control: the page
// or dialog itself, as Windows reports a click on a dialog's background.
GtkDialogView::RightClickTarget GtkDialogView::rightClickTarget(double x, double y) {
    RightClickTarget target{nullptr, window_, false};
    long bestArea = 0;
    auto consider = [&](const ControlWidget& c) {
        if (!gtk_widget_is_drawable(c.outer)) return;
        int left = 0, top = 0;
        if (!gtk_widget_translate_coordinates(c.outer, window_, 0, 0, &left, &top)) return;
        const int width = gtk_widget_get_allocated_width(c.outer), height = gtk_widget_get_allocated_height(c.outer);
        if (x < left || y < top || x >= left + width || y >= top + height) return;
        if (c.kind == ControlKind::Edit) target.overEdit = true;
        if (clickThrough(c.kind)) return;
        const long area = static_cast<long>(width) * height;
        if (!target.control || area < bestArea) target.control = c.outer, bestArea = area;
    };
    for (const auto& page : pages_) {
        for (const ControlWidget& c : page->controls_) consider(c);
        int left = 0, top = 0;
        if (gtk_widget_is_drawable(page->window_) &&
            gtk_widget_translate_coordinates(page->window_, window_, 0, 0, &left, &top) && x >= left && y >= top &&
            x < left + gtk_widget_get_allocated_width(page->window_) &&
            y < top + gtk_widget_get_allocated_height(page->window_))
            target.background = page->window_;
    }
    for (const ControlWidget& c : controls_) consider(c);
    return target;
}

// The press is the dialog's before any control sees it (a trackbar would
// otherwise take it on its track and move its knob), unless it is for an
// edit field's own menu.
bool GtkDialogView::takesRightPress(double x, double y) {
    const RightClickTarget target = rightClickTarget(x, y);
    return !(target.overEdit && !target.control);
}

void GtkDialogView::onRightClick(double x, double y) {
    const RightClickTarget target = rightClickTarget(x, y);
    if (target.overEdit && !target.control) return;  // the field's own menu
    int rootX = 0, rootY = 0;
    gdk_window_get_origin(gtk_widget_get_window(window_), &rootX, &rootY);
    contextMenuFor(target.control ? target.control : target.background, rootX + static_cast<int>(x),
                   rootY + static_cast<int>(y));
}

void GtkDialogView::contextMenuFor(GtkWidget* clicked, int rootX, int rootY) {
    const auto point = static_cast<intptr_t>((static_cast<uint32_t>(rootY & 0xFFFF) << 16) | (rootX & 0xFFFF));
    viewHolding(clicked).deliver(Message{msg::kContextMenu, handleOf(clicked), point});
}
