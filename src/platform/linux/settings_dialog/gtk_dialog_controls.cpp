// GtkDialogView: DialogView's operations on controls, each on the widget
// control_widgets.h made for its kind. An id the dialog lacks, or a control
// of another kind, is left alone and reads as empty, -1 or 0. Changes made
// here are quiet: a controller hears only of what the person does.
#include "platform/linux/settings_dialog/gtk_dialog_view.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "i18n/text_encoding.h"

template <class Apply>
void GtkDialogView::change(int id, ControlKind kind, Apply apply) {
    const ControlWidget* c = find(id, kind);
    if (!c) return;
    Quiet quiet(*this);
    apply(*c);
}

WindowHandle GtkDialogView::control(int id) {
    const ControlWidget* c = find(id);
    return c ? handleOf(c->outer) : 0;
}

void GtkDialogView::setText(int id, std::string_view text) {
    if (ControlWidget* c = find(id)) setControlText(*c, text);
}

std::string GtkDialogView::text(int id, size_t limit) {
    const ControlWidget* c = find(id);
    if (!c) return {};
    if (c->kind == ControlKind::Edit)
        return utf8ToWindows1252(gtk_entry_get_text(GTK_ENTRY(c->outer))).substr(0, limit);
    return c->text.substr(0, interfaceTextCut(c->text, limit));
}

void GtkDialogView::setTextLimit(int id, size_t limit) {
    if (const ControlWidget* c = find(id, ControlKind::Edit)) limitEditCharacters(c->outer, limit);
}

void GtkDialogView::enable(int id, bool enabled) {
    if (const ControlWidget* c = find(id)) gtk_widget_set_sensitive(c->outer, enabled);
}

void GtkDialogView::focus(int id) {
    if (const ControlWidget* c = find(id)) gtk_widget_grab_focus(c->inner);
}

bool GtkDialogView::isChecked(int id) {
    const ControlWidget* c = find(id, ControlKind::CheckBox);
    return c && gtk_toggle_button_get_active(GTK_TOGGLE_BUTTON(c->outer));
}

void GtkDialogView::setChecked(int id, bool checked) {
    change(id, ControlKind::CheckBox,
           [&](const ControlWidget& c) { gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(c.outer), checked); });
}

std::vector<DescendantWindow> GtkDialogView::descendants() {
    std::vector<DescendantWindow> found;
    for (const ControlWidget& c : controls_) found.push_back({handleOf(c.outer), c.id});
    return found;
}

// A page's own text shows nowhere: it has no caption.
void GtkDialogView::setWindowText(WindowHandle window, std::string_view text) {
    if (window == handleOf(window_)) {
        if (GTK_IS_WINDOW(window_)) gtk_window_set_title(GTK_WINDOW(window_), shownAsUtf8(text).c_str());
        return;
    }
    for (ControlWidget& c : controls_)
        if (handleOf(c.outer) == window) return setControlText(c, text);
}

void GtkDialogView::listReset(int id) {
    change(id, ControlKind::ListBox, [](const ControlWidget& c) {
        GList* rows = gtk_container_get_children(GTK_CONTAINER(c.inner));
        for (GList* row = rows; row; row = row->next) gtk_widget_destroy(GTK_WIDGET(row->data));
        g_list_free(rows);
    });
}

void GtkDialogView::listAdd(int id, std::string_view row) {
    change(id, ControlKind::ListBox, [&](const ControlWidget& c) {
        GtkWidget* label = gtk_label_new(shownAsUtf8(row).c_str());
        gtk_label_set_xalign(GTK_LABEL(label), 0.0f);
        gtk_label_set_ellipsize(GTK_LABEL(label), PANGO_ELLIPSIZE_END);
        gtk_widget_show(label);
        gtk_list_box_insert(GTK_LIST_BOX(c.inner), label, -1);
    });
}

void GtkDialogView::listDelete(int id, int row) {
    change(id, ControlKind::ListBox, [&](const ControlWidget& c) {
        GtkListBoxRow* r = gtk_list_box_get_row_at_index(GTK_LIST_BOX(c.inner), row);
        if (r) gtk_widget_destroy(GTK_WIDGET(r));
    });
}

void GtkDialogView::listSelect(int id, int row) {
    change(id, ControlKind::ListBox, [&](const ControlWidget& c) {
        GtkListBoxRow* r = row >= 0 ? gtk_list_box_get_row_at_index(GTK_LIST_BOX(c.inner), row) : nullptr;
        if (r) gtk_list_box_select_row(GTK_LIST_BOX(c.inner), r);
        else gtk_list_box_unselect_all(GTK_LIST_BOX(c.inner));
    });
}

int GtkDialogView::listSelection(int id) {
    const ControlWidget* c = find(id, ControlKind::ListBox);
    GtkListBoxRow* r = c ? gtk_list_box_get_selected_row(GTK_LIST_BOX(c->inner)) : nullptr;
    return r ? gtk_list_box_row_get_index(r) : -1;
}

void GtkDialogView::comboReset(int id) {
    change(id, ControlKind::DropDownList,
           [](const ControlWidget& c) { gtk_combo_box_text_remove_all(GTK_COMBO_BOX_TEXT(c.outer)); });
}

void GtkDialogView::comboAdd(int id, std::string_view row) {
    change(id, ControlKind::DropDownList, [&](const ControlWidget& c) {
        gtk_combo_box_text_append_text(GTK_COMBO_BOX_TEXT(c.outer), shownAsUtf8(row).c_str());
    });
}

void GtkDialogView::comboSelect(int id, int row) {
    change(id, ControlKind::DropDownList, [&](const ControlWidget& c) {
        const int rows = gtk_tree_model_iter_n_children(gtk_combo_box_get_model(GTK_COMBO_BOX(c.outer)), nullptr);
        gtk_combo_box_set_active(GTK_COMBO_BOX(c.outer), row >= 0 && row < rows ? row : -1);
    });
}

int GtkDialogView::comboSelection(int id) {
    const ControlWidget* c = find(id, ControlKind::DropDownList);
    return c ? gtk_combo_box_get_active(GTK_COMBO_BOX(c->outer)) : -1;
}

// Marks at every tick-frequency step from the low end, and at the high end.
void GtkDialogView::trackbarSetup(int id, int32_t low, int32_t high, int32_t tickFrequency, int32_t pageSize,
                                  int32_t lineSize) {
    change(id, ControlKind::Trackbar, [&](const ControlWidget& c) {
        const int32_t lower = static_cast<int16_t>(low);
        const int32_t upper = std::max<int32_t>(lower, static_cast<int16_t>(high));
        GtkRange* range = GTK_RANGE(c.outer);
        const double value =
            std::clamp(gtk_range_get_value(range), static_cast<double>(lower), static_cast<double>(upper));
        gtk_adjustment_configure(gtk_range_get_adjustment(range), value, lower, upper, std::max(lineSize, 0),
                                 std::max(pageSize, 0), 0);
        GtkScale* scale = GTK_SCALE(c.outer);
        gtk_scale_clear_marks(scale);
        if (tickFrequency > 0)
            for (int64_t mark = lower; mark < upper; mark += tickFrequency)
                gtk_scale_add_mark(scale, static_cast<double>(mark), GTK_POS_BOTTOM, nullptr);
        gtk_scale_add_mark(scale, upper, GTK_POS_BOTTOM, nullptr);
    });
}

void GtkDialogView::trackbarSetPosition(int id, int32_t position) {
    change(id, ControlKind::Trackbar,
           [&](const ControlWidget& c) { gtk_range_set_value(GTK_RANGE(c.outer), position); });
}

int32_t GtkDialogView::trackbarPosition(int id) {
    const ControlWidget* c = find(id, ControlKind::Trackbar);
    return c ? static_cast<int32_t>(std::lround(gtk_range_get_value(GTK_RANGE(c->outer)))) : 0;
}

// Each tab gets an empty page of its own; createPage fills them in order.
void GtkDialogView::tabInsert(int id, int index, std::string_view text) {
    change(id, ControlKind::TabControl, [&](const ControlWidget& c) {
        GtkWidget* page = gtk_box_new(GTK_ORIENTATION_VERTICAL, 0);
        gtk_widget_show(page);
        GtkWidget* label = gtk_label_new_with_mnemonic(gtkMnemonicText(shownAsUtf8(text)).c_str());
        gtk_notebook_insert_page(GTK_NOTEBOOK(c.outer), page, label, index);
    });
}

int GtkDialogView::tabSelection(int id) {
    const ControlWidget* c = find(id, ControlKind::TabControl);
    return c ? gtk_notebook_get_current_page(GTK_NOTEBOOK(c->outer)) : -1;
}

PixelRect GtkDialogView::tabItemRect(int id, int index) {
    const ControlWidget* c = find(id, ControlKind::TabControl);
    if (!c) return {};
    GtkNotebook* notebook = GTK_NOTEBOOK(c->outer);
    GtkWidget* page = gtk_notebook_get_nth_page(notebook, index);
    GtkWidget* label = page ? gtk_notebook_get_tab_label(notebook, page) : nullptr;
    int left = 0, top = 0;
    if (!label || !gtk_widget_translate_coordinates(label, c->outer, 0, 0, &left, &top)) return {};
    return {left, top, left + gtk_widget_get_allocated_width(label), top + gtk_widget_get_allocated_height(label)};
}

PixelRect GtkDialogView::controlScreenRect(int id) {
    const ControlWidget* c = find(id);
    if (!c) return {};
    GtkWidget* toplevel = gtk_widget_get_toplevel(c->outer);
    int rootX = 0, rootY = 0, left = 0, top = 0;
    if (GdkWindow* window = gtk_widget_get_window(toplevel)) gdk_window_get_origin(window, &rootX, &rootY);
    gtk_widget_translate_coordinates(c->outer, toplevel, 0, 0, &left, &top);
    left += rootX;
    top += rootY;
    return {left, top, left + gtk_widget_get_allocated_width(c->outer), top + gtk_widget_get_allocated_height(c->outer)};
}
