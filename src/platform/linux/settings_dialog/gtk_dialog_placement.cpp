// GtkDialogView: where a dialog opens (dialogs/dialog_placement.h where the
// placement is ours to make) and which of its windows show. GTK centres a
// dialog over a transient parent of this program, or on the monitor, and
// keeps it within the monitor's work area; over another program's window
// the view centres it itself. Pages sit in their notebook, which places them.
#include "platform/linux/settings_dialog/gtk_dialog_view.h"

#include "dialogs/dialog_placement.h"
#include "platform/linux/settings_dialog/foreign_window.h"

void GtkDialogView::centre() {
    if (owner_ || !GTK_IS_WINDOW(window_)) return;
    GtkWindow* parent = gtk_window_get_transient_for(GTK_WINDOW(window_));
    if (!parent && resources_.keptOver) return centreOverForeignWindow();
    GdkWindow* parentWindow = parent ? gtk_widget_get_window(GTK_WIDGET(parent)) : nullptr;
    const bool overParent = parentWindow && gtk_widget_is_visible(GTK_WIDGET(parent)) &&
                            !(gdk_window_get_state(parentWindow) & GDK_WINDOW_STATE_ICONIFIED);
    gtk_window_set_position(GTK_WINDOW(window_), overParent ? GTK_WIN_POS_CENTER_ON_PARENT : GTK_WIN_POS_CENTER);
}

void GtkDialogView::centreOverForeignWindow() {
    GdkDisplay* display = gdk_window_get_display(resources_.keptOver);
    std::optional<PixelRect> owner;  // none when it is not shown
    if (PixelRect frame; viewableFrame(resources_.keptOver, frame)) owner = frame;
    GdkMonitor* monitor = owner ? gdk_display_get_monitor_at_point(display, (owner->left + owner->right) / 2,
                                                                   (owner->top + owner->bottom) / 2)
                                : gdk_display_get_primary_monitor(display);
    if (!monitor) monitor = gdk_display_get_monitor(display, 0);
    GdkRectangle area{0, 0, 0, 0};
    if (monitor) gdk_monitor_get_workarea(monitor, &area);
    GtkRequisition size{0, 0};
    gtk_widget_get_preferred_size(window_, nullptr, &size);
    const PixelRect placed = centredPlacement(size.width, size.height, owner,
                                              {area.x, area.y, area.x + area.width, area.y + area.height});
    gtk_window_move(GTK_WINDOW(window_), placed.left, placed.top);
}

// The notebook keeps its pages over its display area.
void GtkDialogView::placeWindow(WindowHandle, const PixelRect&) {}

void GtkDialogView::showWindow(WindowHandle window, bool shown) {
    if (window == handleOf(window_)) return gtk_widget_set_visible(window_, shown);
    for (const auto& page : pages_)
        if (window == handleOf(page->window_)) gtk_widget_set_visible(page->window_, shown);
}
