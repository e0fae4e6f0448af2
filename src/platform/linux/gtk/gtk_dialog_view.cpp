#include "platform/linux/gtk/gtk_dialog_view.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "dialogs/dialog_placement.h"
#include "i18n/text_encoding.h"
#include "platform/linux/gtk/foreign_window.h"
#include "platform/linux/gtk/file_chooser.h"

namespace {

WindowHandle handle(GtkWidget* widget) { return reinterpret_cast<WindowHandle>(widget); }

// Every dialog and page open in the process, for finding a handle's widget.
std::vector<GtkDialogView*>& openViews() {
    static std::vector<GtkDialogView*> views;
    return views;
}

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

GtkDialogView::GtkDialogView(const DialogTemplate& dialog, DialogController& controller, GtkDialogView* owner,
                             const Resources& resources)
    : template_(dialog), controller_(controller), owner_(owner), resources_(resources) {
    controller_.attach(*this);
    openViews().push_back(this);
}

GtkDialogView::~GtkDialogView() {
    close();
    pages_.clear();
    std::erase(openViews(), this);
}

std::unique_ptr<GtkDialogView> GtkDialogView::open(uint32_t templateId, DialogController& controller, GtkWindow* owner,
                                                   const Resources& resources) {
    const DialogTemplate* dialog = findDialogTemplate(templateId);
    if (!dialog) return nullptr;
    std::unique_ptr<GtkDialogView> view(new GtkDialogView(*dialog, controller, nullptr, resources));
    view->build(owner);
    if (view->initialise() && !view->result_) {
        for (const ControlTemplate& c : dialog->controls) {
            ControlWidget* control = view->find(c.id);
            if ((c.style & style::kTabStop) && control && gtk_widget_is_sensitive(control->outer)) {
                gtk_widget_grab_focus(control->inner);
                break;
            }
        }
    }
    if (!view->result_ && dialog->kind != DialogKind::Hidden) gtk_widget_show(view->window_);
    return view;
}

int GtkDialogView::run(uint32_t templateId, DialogController& controller, GtkWindow* owner, const Resources& resources) {
    const std::unique_ptr<GtkDialogView> view = open(templateId, controller, owner, resources);
    if (!view) return -1;
    if (!view->result_) {
        view->loop_ = g_main_loop_new(nullptr, FALSE);
        g_main_loop_run(view->loop_);
        g_main_loop_unref(view->loop_);
        view->loop_ = nullptr;
    }
    return view->result_.value_or(-1);
}

void GtkDialogView::build(GtkWindow* transientFor) {
    window_ = gtk_dialog_new();
    GtkWindow* window = GTK_WINDOW(window_);
    gtk_window_set_title(window, shownAsUtf8(template_.caption).c_str());
    gtk_window_set_resizable(window, FALSE);
    gtk_window_set_modal(window, template_.kind != DialogKind::Hidden);
    gtk_window_set_deletable(window, template_.kind == DialogKind::Modal);
    if (transientFor) {
        gtk_window_set_transient_for(window, transientFor);
    } else if (resources_.keptOver) {
        gtk_widget_realize(window_);
        gdk_window_set_transient_for(gtk_widget_get_window(window_), resources_.keptOver);
    }
    GtkWidget* content = gtk_dialog_get_content_area(GTK_DIALOG(window_));
    gtk_container_set_border_width(GTK_CONTAINER(window_), 0);
    gtk_container_set_border_width(GTK_CONTAINER(content), 0);
    gtk_box_set_spacing(GTK_BOX(content), 0);

    const DialogUnits units = DialogUnits::of(window_);
    GtkWidget* fixed = gtk_fixed_new();
    gtk_widget_set_size_request(fixed, units.x(template_.width), units.y(template_.height));
    gtk_box_pack_start(GTK_BOX(content), fixed, TRUE, TRUE, 0);
    gtk_widget_show(fixed);
    layOut(fixed, units);

    g_signal_connect(window_, "key-press-event", G_CALLBACK(onKeyPress), this);
    g_signal_connect(window_, "delete-event", G_CALLBACK(onDelete), this);
    g_signal_connect(window_, "configure-event", G_CALLBACK(onConfigure), this);
    // Before the controls see it, so a right-click is the dialog's to route.
    rightClick_ = gtk_gesture_multi_press_new(window_);
    gtk_gesture_single_set_button(GTK_GESTURE_SINGLE(rightClick_), GDK_BUTTON_SECONDARY);
    gtk_event_controller_set_propagation_phase(GTK_EVENT_CONTROLLER(rightClick_), GTK_PHASE_CAPTURE);
    g_signal_connect(rightClick_, "released", G_CALLBACK(onReleased), this);
}

void GtkDialogView::layOut(GtkWidget* fixed, const DialogUnits& units) {
    for (const ControlTemplate& t : template_.controls) controls_.push_back(makeControlWidget(t, units, resources_.aboutPicture));
    for (size_t i = 0; i < controls_.size(); ++i) {
        ControlWidget& c = controls_[i];
        const ControlTemplate& t = template_.controls[i];
        connect(c);
        if (t.style & style::kDefault) {
            defaultId_ = t.id;
            gtk_widget_set_can_default(c.outer, TRUE);
            if (GTK_IS_WINDOW(window_)) gtk_window_set_default(GTK_WINDOW(window_), c.outer);
        }
        // A static text's mnemonic moves to the next control one can tab to.
        if (c.kind == ControlKind::Label)
            for (size_t next = i + 1; next < controls_.size(); ++next)
                if (template_.controls[next].style & style::kTabStop) {
                    gtk_label_set_mnemonic_widget(GTK_LABEL(c.outer), controls_[next].inner);
                    break;
                }
        gtk_widget_show(c.outer);
    }
    // A check box on the top edge of an empty group box is its caption, as
    // the group box's line runs behind it: GTK's frame takes it as its label.
    std::vector<bool> framed(controls_.size(), false);
    for (size_t g = 0; g < controls_.size(); ++g) {
        const ControlTemplate& group = template_.controls[g];
        if (group.kind != ControlKind::GroupBox || !group.text.empty()) continue;
        for (size_t c = 0; c < controls_.size(); ++c) {
            const ControlTemplate& box = template_.controls[c];
            if (box.kind == ControlKind::CheckBox && box.y == group.y && box.x >= group.x &&
                box.x + box.width <= group.x + group.width && !framed[c]) {
                gtk_frame_set_label_widget(GTK_FRAME(controls_[g].outer), controls_[c].outer);
                gtk_frame_set_label_align(GTK_FRAME(controls_[g].outer), 0.0f, 0.5f);
                framed[c] = true;
                break;
            }
        }
    }
    for (size_t i = 0; i < controls_.size(); ++i) {
        const ControlTemplate& t = template_.controls[i];
        if (!framed[i]) gtk_fixed_put(GTK_FIXED(fixed), controls_[i].outer, units.x(t.x), units.y(t.y));
    }
}

void GtkDialogView::connect(ControlWidget& c) {
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

bool GtkDialogView::initialise() { return deliver(Message{msg::kInitDialog, 0, 0}) != 0; }

void GtkDialogView::close() {
    if (closed_) return;
    for (const auto& page : pages_) {
        page->deliver(Message{msg::kDestroy, 0, 0});
        page->closed_ = true;
    }
    deliver(Message{msg::kDestroy, 0, 0});
    closed_ = true;
    if (!owner_ && window_) {
        if (rightClick_) g_object_unref(rightClick_);
        gtk_widget_destroy(window_);
    }
    window_ = nullptr;
    for (const auto& page : pages_) page->window_ = nullptr;
}

ControlWidget* GtkDialogView::find(int id) {
    for (ControlWidget& c : controls_)
        if (c.id == id) return &c;
    return nullptr;
}

ControlWidget* GtkDialogView::findWidget(GtkWidget* widget) {
    for (ControlWidget& c : controls_)
        if (c.outer == widget) return &c;
    return nullptr;
}

GtkWidget* GtkDialogView::controlWidget(int id) {
    const ControlWidget* c = find(id);
    return c ? c->outer : nullptr;
}

GtkWidget* GtkDialogView::liveWidget(WindowHandle h) {
    for (GtkDialogView* view : openViews()) {
        if (view->window_ && handle(view->window_) == h) return view->window_;
        for (const ControlWidget& c : view->controls_)
            if (handle(c.outer) == h && view->window_) return c.outer;
    }
    return nullptr;
}

GtkDialogView* GtkDialogView::latest(uint32_t templateId) {
    for (auto view = openViews().rbegin(); view != openViews().rend(); ++view)
        if ((*view)->template_.id == templateId && !(*view)->closed_) return *view;
    return nullptr;
}

intptr_t GtkDialogView::deliver(const Message& m) {
    if (quiet_ > 0 || closed_) return 0;
    return controller_.dialogProc(m);
}

void GtkDialogView::command(int id, uint16_t code) { deliver(msg::command(id, code)); }

GtkDialogView& GtkDialogView::viewHolding(GtkWidget* widget) {
    for (const auto& page : pages_)
        if (widget && page->window_ && (widget == page->window_ || gtk_widget_is_ancestor(widget, page->window_)))
            return *page;
    return *this;
}

// Signals of the controls.

void GtkDialogView::onClicked(GtkButton* button, gpointer view) {
    auto* self = static_cast<GtkDialogView*>(view);
    if (const ControlWidget* c = self->findWidget(GTK_WIDGET(button))) self->command(c->id, msg::kButtonClicked);
}

void GtkDialogView::onToggled(GtkToggleButton* button, gpointer view) {
    auto* self = static_cast<GtkDialogView*>(view);
    if (const ControlWidget* c = self->findWidget(GTK_WIDGET(button))) self->command(c->id, msg::kButtonClicked);
}

void GtkDialogView::onRowSelected(GtkListBox* list, GtkListBoxRow*, gpointer view) {
    auto* self = static_cast<GtkDialogView*>(view);
    for (const ControlWidget& c : self->controls_)
        if (c.inner == GTK_WIDGET(list)) return self->command(c.id, msg::kListSelectionChange);
}

void GtkDialogView::onComboChanged(GtkComboBox* combo, gpointer view) {
    auto* self = static_cast<GtkDialogView*>(view);
    if (const ControlWidget* c = self->findWidget(GTK_WIDGET(combo))) self->command(c->id, msg::kComboSelectionChange);
}

// The controllers read the position from the trackbar itself.
void GtkDialogView::onValueChanged(GtkRange* range, gpointer view) {
    static_cast<GtkDialogView*>(view)->deliver(Message{msg::kHScroll, 0, static_cast<intptr_t>(handle(GTK_WIDGET(range)))});
}

// Before the notebook changes its page: TCN_SELCHANGING, whose non-zero
// answer keeps the current page.
void GtkDialogView::onSwitchPage(GtkNotebook* notebook, GtkWidget*, guint, gpointer view) {
    auto* self = static_cast<GtkDialogView*>(view);
    const ControlWidget* c = self->findWidget(GTK_WIDGET(notebook));
    if (c && self->deliver(Message{msg::kNotify, static_cast<uintptr_t>(c->id), msg::kTabSelectionChanging}) != 0)
        g_signal_stop_emission_by_name(notebook, "switch-page");
}

void GtkDialogView::onPageSwitched(GtkNotebook* notebook, GtkWidget*, guint, gpointer view) {
    auto* self = static_cast<GtkDialogView*>(view);
    if (const ControlWidget* c = self->findWidget(GTK_WIDGET(notebook)))
        self->deliver(Message{msg::kNotify, static_cast<uintptr_t>(c->id), msg::kTabSelectionChange});
}

// The dialog manager's keys.

gboolean GtkDialogView::onKeyPress(GtkWidget*, GdkEventKey* key, gpointer view) {
    return static_cast<GtkDialogView*>(view)->onKey(*key) ? TRUE : FALSE;
}

bool GtkDialogView::onKey(const GdkEventKey& key) {
    GtkWidget* focused = gtk_window_get_focus(GTK_WINDOW(window_));
    const bool shift = (key.state & GDK_SHIFT_MASK) != 0;
    switch (key.keyval) {
    case GDK_KEY_Escape: command(msg::kIdCancel, msg::kButtonClicked); return true;
    case GDK_KEY_Return:
    case GDK_KEY_KP_Enter:
    case GDK_KEY_ISO_Enter:
        if (isPushButton(focused)) return false;  // the button takes its own Enter
        command(defaultId_, msg::kButtonClicked);
        return true;
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

gboolean GtkDialogView::onDelete(GtkWidget*, GdkEvent*, gpointer view) {
    static_cast<GtkDialogView*>(view)->command(msg::kIdCancel, msg::kButtonClicked);
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

void GtkDialogView::onReleased(GtkGestureMultiPress* gesture, gint, gdouble x, gdouble y, gpointer view) {
    auto* self = static_cast<GtkDialogView*>(view);
    self->onRightClick(x, y);
    gtk_gesture_set_state(GTK_GESTURE(gesture), GTK_EVENT_SEQUENCE_CLAIMED);
}

// The control under the pointer: the smallest one that takes clicks, so a
// page's control wins over the tab control behind it. No control: the page
// or dialog itself, as Windows reports a click on a dialog's background.
void GtkDialogView::onRightClick(double x, double y) {
    GtkWidget* best = nullptr;
    long bestArea = 0;
    bool edit = false;
    auto consider = [&](const ControlWidget& c) {
        if (!gtk_widget_is_drawable(c.outer)) return;
        int left = 0, top = 0;
        if (!gtk_widget_translate_coordinates(c.outer, window_, 0, 0, &left, &top)) return;
        const int width = gtk_widget_get_allocated_width(c.outer), height = gtk_widget_get_allocated_height(c.outer);
        if (x < left || y < top || x >= left + width || y >= top + height) return;
        if (c.kind == ControlKind::Edit) edit = true;
        if (clickThrough(c.kind)) return;
        const long area = static_cast<long>(width) * height;
        if (!best || area < bestArea) best = c.outer, bestArea = area;
    };
    GtkWidget* background = window_;
    for (const auto& page : pages_) {
        for (const ControlWidget& c : page->controls_) consider(c);
        int left = 0, top = 0;
        if (gtk_widget_is_drawable(page->window_) &&
            gtk_widget_translate_coordinates(page->window_, window_, 0, 0, &left, &top) && x >= left && y >= top &&
            x < left + gtk_widget_get_allocated_width(page->window_) &&
            y < top + gtk_widget_get_allocated_height(page->window_))
            background = page->window_;
    }
    for (const ControlWidget& c : controls_) consider(c);
    if (edit && !best) return;  // the field's own menu
    int rootX = 0, rootY = 0;
    gdk_window_get_origin(gtk_widget_get_window(window_), &rootX, &rootY);
    contextMenuFor(best ? best : background, rootX + static_cast<int>(x), rootY + static_cast<int>(y));
}

void GtkDialogView::contextMenuFor(GtkWidget* clicked, int rootX, int rootY) {
    const auto point = static_cast<intptr_t>((static_cast<uint32_t>(rootY & 0xFFFF) << 16) | (rootX & 0xFFFF));
    viewHolding(clicked).deliver(Message{msg::kContextMenu, handle(clicked), point});
}

// DialogView

WindowHandle GtkDialogView::window() { return handle(window_); }

WindowHandle GtkDialogView::control(int id) {
    const ControlWidget* c = find(id);
    return c ? handle(c->outer) : 0;
}

int32_t GtkDialogView::controlId(WindowHandle window) {
    for (GtkDialogView* view : openViews())
        for (const ControlWidget& c : view->controls_)
            if (handle(c.outer) == window) return c.id;
    return kUnnamedControl;
}

void GtkDialogView::setText(int id, std::string_view text) {
    if (ControlWidget* c = find(id)) setControlText(*c, text);
}

std::string GtkDialogView::text(int id, size_t limit) {
    const ControlWidget* c = find(id);
    if (!c) return {};
    const std::string_view held =
        c->kind == ControlKind::Edit ? std::string_view(gtk_entry_get_text(GTK_ENTRY(c->outer))) : std::string_view(c->text);
    return std::string(held.substr(0, interfaceTextCut(held, limit)));
}

void GtkDialogView::setTextLimit(int id, size_t limit) {
    const ControlWidget* c = find(id);
    if (c && c->kind == ControlKind::Edit) limitEditBytes(c->outer, limit);
}

void GtkDialogView::enable(int id, bool enabled) {
    if (const ControlWidget* c = find(id)) gtk_widget_set_sensitive(c->outer, enabled);
}

void GtkDialogView::focus(int id) {
    if (const ControlWidget* c = find(id)) gtk_widget_grab_focus(c->inner);
}

bool GtkDialogView::isChecked(int id) {
    const ControlWidget* c = find(id);
    return c && GTK_IS_TOGGLE_BUTTON(c->outer) && gtk_toggle_button_get_active(GTK_TOGGLE_BUTTON(c->outer));
}

void GtkDialogView::setChecked(int id, bool checked) {
    const ControlWidget* c = find(id);
    if (!c || !GTK_IS_TOGGLE_BUTTON(c->outer)) return;
    Quiet quiet(*this);
    gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(c->outer), checked);
}

std::vector<DescendantWindow> GtkDialogView::descendants() {
    std::vector<DescendantWindow> found;
    for (const ControlWidget& c : controls_) found.push_back({handle(c.outer), c.id});
    return found;
}

// A page's own text shows nowhere: it has no caption.
void GtkDialogView::setWindowText(WindowHandle window, std::string_view text) {
    if (window == handle(window_)) {
        if (GTK_IS_WINDOW(window_)) gtk_window_set_title(GTK_WINDOW(window_), shownAsUtf8(text).c_str());
        return;
    }
    for (ControlWidget& c : controls_)
        if (handle(c.outer) == window) return setControlText(c, text);
}

void GtkDialogView::listReset(int id) {
    const ControlWidget* c = find(id);
    if (!c || c->kind != ControlKind::ListBox) return;
    Quiet quiet(*this);
    GList* rows = gtk_container_get_children(GTK_CONTAINER(c->inner));
    for (GList* row = rows; row; row = row->next) gtk_widget_destroy(GTK_WIDGET(row->data));
    g_list_free(rows);
}

void GtkDialogView::listAdd(int id, std::string_view row) {
    const ControlWidget* c = find(id);
    if (!c || c->kind != ControlKind::ListBox) return;
    Quiet quiet(*this);
    GtkWidget* label = gtk_label_new(shownAsUtf8(row).c_str());
    gtk_label_set_xalign(GTK_LABEL(label), 0.0f);
    gtk_label_set_ellipsize(GTK_LABEL(label), PANGO_ELLIPSIZE_END);
    gtk_widget_show(label);
    gtk_list_box_insert(GTK_LIST_BOX(c->inner), label, -1);
}

void GtkDialogView::listDelete(int id, int row) {
    const ControlWidget* c = find(id);
    if (!c || c->kind != ControlKind::ListBox) return;
    Quiet quiet(*this);
    if (GtkListBoxRow* r = gtk_list_box_get_row_at_index(GTK_LIST_BOX(c->inner), row)) gtk_widget_destroy(GTK_WIDGET(r));
}

void GtkDialogView::listSelect(int id, int row) {
    const ControlWidget* c = find(id);
    if (!c || c->kind != ControlKind::ListBox) return;
    Quiet quiet(*this);
    GtkListBoxRow* r = row >= 0 ? gtk_list_box_get_row_at_index(GTK_LIST_BOX(c->inner), row) : nullptr;
    if (r) gtk_list_box_select_row(GTK_LIST_BOX(c->inner), r);
    else gtk_list_box_unselect_all(GTK_LIST_BOX(c->inner));
}

int GtkDialogView::listSelection(int id) {
    const ControlWidget* c = find(id);
    if (!c || c->kind != ControlKind::ListBox) return -1;
    GtkListBoxRow* r = gtk_list_box_get_selected_row(GTK_LIST_BOX(c->inner));
    return r ? gtk_list_box_row_get_index(r) : -1;
}

void GtkDialogView::comboReset(int id) {
    const ControlWidget* c = find(id);
    if (!c || c->kind != ControlKind::DropDownList) return;
    Quiet quiet(*this);
    gtk_combo_box_text_remove_all(GTK_COMBO_BOX_TEXT(c->outer));
}

void GtkDialogView::comboAdd(int id, std::string_view row) {
    const ControlWidget* c = find(id);
    if (!c || c->kind != ControlKind::DropDownList) return;
    Quiet quiet(*this);
    gtk_combo_box_text_append_text(GTK_COMBO_BOX_TEXT(c->outer), shownAsUtf8(row).c_str());
}

void GtkDialogView::comboSelect(int id, int row) {
    const ControlWidget* c = find(id);
    if (!c || c->kind != ControlKind::DropDownList) return;
    Quiet quiet(*this);
    const int rows = gtk_tree_model_iter_n_children(gtk_combo_box_get_model(GTK_COMBO_BOX(c->outer)), nullptr);
    gtk_combo_box_set_active(GTK_COMBO_BOX(c->outer), row >= 0 && row < rows ? row : -1);
}

int GtkDialogView::comboSelection(int id) {
    const ControlWidget* c = find(id);
    return c && c->kind == ControlKind::DropDownList ? gtk_combo_box_get_active(GTK_COMBO_BOX(c->outer)) : -1;
}

// Marks at every tick-frequency step from the low end, and at the high end.
void GtkDialogView::trackbarSetup(int id, int32_t low, int32_t high, int32_t tickFrequency, int32_t pageSize,
                                  int32_t lineSize) {
    const ControlWidget* c = find(id);
    if (!c || c->kind != ControlKind::Trackbar) return;
    Quiet quiet(*this);
    const int32_t lower = static_cast<int16_t>(low);
    const int32_t upper = std::max<int32_t>(lower, static_cast<int16_t>(high));
    GtkRange* range = GTK_RANGE(c->outer);
    const double value = std::clamp(gtk_range_get_value(range), static_cast<double>(lower), static_cast<double>(upper));
    gtk_adjustment_configure(gtk_range_get_adjustment(range), value, lower, upper, std::max(lineSize, 0),
                             std::max(pageSize, 0), 0);
    GtkScale* scale = GTK_SCALE(c->outer);
    gtk_scale_clear_marks(scale);
    if (tickFrequency > 0)
        for (int64_t mark = lower; mark < upper; mark += tickFrequency)
            gtk_scale_add_mark(scale, static_cast<double>(mark), GTK_POS_BOTTOM, nullptr);
    gtk_scale_add_mark(scale, upper, GTK_POS_BOTTOM, nullptr);
}

void GtkDialogView::trackbarSetPosition(int id, int32_t position) {
    const ControlWidget* c = find(id);
    if (!c || c->kind != ControlKind::Trackbar) return;
    Quiet quiet(*this);
    gtk_range_set_value(GTK_RANGE(c->outer), position);
}

int32_t GtkDialogView::trackbarPosition(int id) {
    const ControlWidget* c = find(id);
    if (!c || c->kind != ControlKind::Trackbar) return 0;
    return static_cast<int32_t>(std::lround(gtk_range_get_value(GTK_RANGE(c->outer))));
}

// Each tab gets an empty page of its own; createPage fills them in order.
void GtkDialogView::tabInsert(int id, int index, std::string_view text) {
    const ControlWidget* c = find(id);
    if (!c || c->kind != ControlKind::TabControl) return;
    Quiet quiet(*this);
    GtkWidget* page = gtk_box_new(GTK_ORIENTATION_VERTICAL, 0);
    gtk_widget_show(page);
    GtkWidget* label = gtk_label_new_with_mnemonic(gtkMnemonicText(shownAsUtf8(text)).c_str());
    gtk_notebook_insert_page(GTK_NOTEBOOK(c->outer), page, label, index);
}

int GtkDialogView::tabSelection(int id) {
    const ControlWidget* c = find(id);
    return c && c->kind == ControlKind::TabControl ? gtk_notebook_get_current_page(GTK_NOTEBOOK(c->outer)) : -1;
}

PixelRect GtkDialogView::tabItemRect(int id, int index) {
    const ControlWidget* c = find(id);
    if (!c || c->kind != ControlKind::TabControl) return {};
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

bool GtkDialogView::openFile(const OpenFileRequest& request, std::string& path) {
    return chooseFile(GTK_WINDOW(gtk_widget_get_toplevel(window_)), request, path);
}

void GtkDialogView::showError(std::string_view caption, std::string_view text) {
    GtkWidget* box = gtk_message_dialog_new(GTK_WINDOW(gtk_widget_get_toplevel(window_)), GTK_DIALOG_MODAL,
                                            GTK_MESSAGE_ERROR, GTK_BUTTONS_OK, "%s", shownAsUtf8(text).c_str());
    gtk_window_set_title(GTK_WINDOW(box), shownAsUtf8(caption).c_str());
    gtk_dialog_run(GTK_DIALOG(box));
    gtk_widget_destroy(box);
}

// A hidden dialog is never seen: what it opens is kept over what it is kept over.
int GtkDialogView::runModal(uint32_t templateId, DialogController& controller) {
    GtkWindow* parent = template_.kind == DialogKind::Hidden ? nullptr : GTK_WINDOW(gtk_widget_get_toplevel(window_));
    return run(templateId, controller, parent, resources_);
}

// The page goes into the first of the tab control's pages that has none yet.
WindowHandle GtkDialogView::createPage(uint32_t templateId, int ownerControl, DialogController& controller) {
    const DialogTemplate* pageTemplate = findDialogTemplate(templateId);
    const ControlWidget* tabs = find(ownerControl);
    if (!pageTemplate || !tabs || tabs->kind != ControlKind::TabControl) return 0;
    GtkNotebook* notebook = GTK_NOTEBOOK(tabs->outer);
    GtkWidget* slot = nullptr;
    for (int i = 0; i < gtk_notebook_get_n_pages(notebook) && !slot; ++i) {
        GtkWidget* candidate = gtk_notebook_get_nth_page(notebook, i);
        GList* children = gtk_container_get_children(GTK_CONTAINER(candidate));
        if (!children) slot = candidate;
        g_list_free(children);
    }
    if (!slot) return 0;
    auto page = std::unique_ptr<GtkDialogView>(new GtkDialogView(*pageTemplate, controller, this, resources_));
    const DialogUnits units = DialogUnits::of(window_);
    page->window_ = gtk_fixed_new();
    gtk_widget_set_size_request(page->window_, units.x(pageTemplate->width), units.y(pageTemplate->height));
    gtk_widget_set_size_request(slot, units.x(pageTemplate->width), units.y(pageTemplate->height));
    page->layOut(page->window_, units);
    gtk_box_pack_start(GTK_BOX(slot), page->window_, TRUE, TRUE, 0);
    page->initialise();
    pages_.push_back(std::move(page));
    return handle(pages_.back()->window_);
}

// The notebook keeps its pages over its display area.
void GtkDialogView::placeWindow(WindowHandle, const PixelRect&) {}

void GtkDialogView::showWindow(WindowHandle window, bool shown) {
    if (window == handle(window_)) return gtk_widget_set_visible(window_, shown);
    for (const auto& page : pages_)
        if (window == handle(page->window_)) gtk_widget_set_visible(page->window_, shown);
}

// GTK centres over a transient parent of this program, or on the monitor,
// and keeps the window within the monitor's work area. Over another
// program's window the placement is ours to make. A page sits in its notebook.
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
    const std::optional<PixelRect> owner = viewableFrame(resources_.keptOver);
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

void GtkDialogView::endDialog(int result) {
    result_ = result;
    if (window_) gtk_widget_hide(window_);
    if (loop_) g_main_loop_quit(loop_);
}
