// GtkDialogView: the widgets' signals as the messages a Windows dialog
// procedure gets. A control's signal becomes WM_COMMAND, WM_HSCROLL or
// WM_NOTIFY with the control's id; the window's key presses, close box and
// right-clicks go to gtk_dialog_input.cpp, and its moves become WM_MOVE.
#include "platform/linux/settings_dialog/gtk_dialog_view.h"

void GtkDialogView::connectControl(const ControlWidget& c) {
    switch (c.kind) {
    case ControlKind::PushButton: g_signal_connect(c.outer, "clicked", G_CALLBACK(onClicked), this); break;
    case ControlKind::CheckBox: g_signal_connect(c.outer, "toggled", G_CALLBACK(onToggled), this); break;
    case ControlKind::ListBox: g_signal_connect(c.inner, "row-selected", G_CALLBACK(onRowSelected), this); break;
    case ControlKind::DropDownList: g_signal_connect(c.outer, "changed", G_CALLBACK(onComboChanged), this); break;
    case ControlKind::Trackbar: g_signal_connect(c.outer, "value-changed", G_CALLBACK(onValueChanged), this); break;
    case ControlKind::TabControl:
        g_signal_connect(c.outer, "switch-page", G_CALLBACK(onSwitchPage), this);
        g_signal_connect_after(c.outer, "switch-page", G_CALLBACK(onPageSwitched), this);
        break;
    default: break;
    }
}

void GtkDialogView::connectWindow() {
    g_signal_connect(window_, "key-press-event", G_CALLBACK(onKeyPress), this);
    g_signal_connect(window_, "delete-event", G_CALLBACK(onDelete), this);
    g_signal_connect(window_, "configure-event", G_CALLBACK(onConfigure), this);
    // Before the controls see it, so a right-click is the dialog's to route.
    rightClick_ = gtk_gesture_multi_press_new(window_);
    gtk_gesture_single_set_button(GTK_GESTURE_SINGLE(rightClick_), GDK_BUTTON_SECONDARY);
    gtk_event_controller_set_propagation_phase(GTK_EVENT_CONTROLLER(rightClick_), GTK_PHASE_CAPTURE);
    g_signal_connect(rightClick_, "pressed", G_CALLBACK(onPressed), this);
    g_signal_connect(rightClick_, "released", G_CALLBACK(onReleased), this);
}

void GtkDialogView::onClicked(GtkButton* button, gpointer view) {
    auto* self = static_cast<GtkDialogView*>(view);
    if (const ControlWidget* c = self->holding(GTK_WIDGET(button))) self->command(c->id, msg::kButtonClicked);
}

void GtkDialogView::onToggled(GtkToggleButton* button, gpointer view) {
    auto* self = static_cast<GtkDialogView*>(view);
    if (const ControlWidget* c = self->holding(GTK_WIDGET(button))) self->command(c->id, msg::kButtonClicked);
}

void GtkDialogView::onRowSelected(GtkListBox* list, GtkListBoxRow*, gpointer view) {
    auto* self = static_cast<GtkDialogView*>(view);
    if (const ControlWidget* c = self->holding(GTK_WIDGET(list))) self->command(c->id, msg::kListSelectionChange);
}

void GtkDialogView::onComboChanged(GtkComboBox* combo, gpointer view) {
    auto* self = static_cast<GtkDialogView*>(view);
    if (const ControlWidget* c = self->holding(GTK_WIDGET(combo))) self->command(c->id, msg::kComboSelectionChange);
}

// The controllers read the position from the trackbar itself.
void GtkDialogView::onValueChanged(GtkRange* range, gpointer view) {
    const auto trackbar = static_cast<intptr_t>(handleOf(GTK_WIDGET(range)));
    static_cast<GtkDialogView*>(view)->deliver(Message{msg::kHScroll, 0, trackbar});
}

// Before the notebook changes its page: TCN_SELCHANGING, whose non-zero
// answer keeps the current page.
void GtkDialogView::onSwitchPage(GtkNotebook* notebook, GtkWidget*, guint, gpointer view) {
    auto* self = static_cast<GtkDialogView*>(view);
    const ControlWidget* c = self->holding(GTK_WIDGET(notebook));
    if (c && self->deliver(Message{msg::kNotify, static_cast<uintptr_t>(c->id), msg::kTabSelectionChanging}) != 0)
        g_signal_stop_emission_by_name(notebook, "switch-page");
}

void GtkDialogView::onPageSwitched(GtkNotebook* notebook, GtkWidget*, guint, gpointer view) {
    auto* self = static_cast<GtkDialogView*>(view);
    if (const ControlWidget* c = self->holding(GTK_WIDGET(notebook)))
        self->deliver(Message{msg::kNotify, static_cast<uintptr_t>(c->id), msg::kTabSelectionChange});
}

gboolean GtkDialogView::onKeyPress(GtkWidget*, GdkEventKey* key, gpointer view) {
    return static_cast<GtkDialogView*>(view)->onKey(*key) ? TRUE : FALSE;
}

gboolean GtkDialogView::onDelete(GtkWidget*, GdkEvent*, gpointer view) {
    static_cast<GtkDialogView*>(view)->dialogKey(DialogKey::CloseBox, nullptr);
    return TRUE;  // the dialog ends only as its controller says
}

gboolean GtkDialogView::onConfigure(GtkWidget*, GdkEventConfigure* event, gpointer view) {
    auto* self = static_cast<GtkDialogView*>(view);
    if (event->x != self->lastX_ || event->y != self->lastY_) {
        self->lastX_ = event->x;
        self->lastY_ = event->y;
        self->deliver(Message{msg::kMove, 0, 0});
    }
    return FALSE;
}

void GtkDialogView::onPressed(GtkGestureMultiPress* gesture, gint, gdouble x, gdouble y, gpointer view) {
    const bool taken = static_cast<GtkDialogView*>(view)->takesRightPress(x, y);
    gtk_gesture_set_state(GTK_GESTURE(gesture), taken ? GTK_EVENT_SEQUENCE_CLAIMED : GTK_EVENT_SEQUENCE_DENIED);
}

void GtkDialogView::onReleased(GtkGestureMultiPress* gesture, gint, gdouble x, gdouble y, gpointer view) {
    auto* self = static_cast<GtkDialogView*>(view);
    self->onRightClick(x, y);
    gtk_gesture_set_state(GTK_GESTURE(gesture), GTK_EVENT_SEQUENCE_CLAIMED);
}
