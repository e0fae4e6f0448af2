#include "platform/linux/settings_dialog/gtk_dialog_view.h"

#include <string>

#include "i18n/text_encoding.h"
#include "platform/linux/settings_dialog/dialog_layout.h"
#include "platform/linux/settings_dialog/file_chooser.h"

GtkDialogView::GtkDialogView(const DialogTemplate& dialog, DialogController& controller, GtkDialogView* owner,
                             const Resources& resources)
    : template_(dialog), controller_(controller), owner_(owner), resources_(resources) {
    controller_.attach(*this);
    enrol();
}

GtkDialogView::~GtkDialogView() {
    close();
    pages_.clear();
    withdraw();
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
    connectWindow();
}

void GtkDialogView::layOut(GtkWidget* fixed, const DialogUnits& units) {
    GtkWindow* window = GTK_IS_WINDOW(window_) ? GTK_WINDOW(window_) : nullptr;
    ControlLayout layout = layOutControls(template_, fixed, window, units, resources_.aboutPicture);
    controls_ = std::move(layout.controls);
    defaultId_ = layout.defaultButton;
    for (const ControlWidget& c : controls_) connectControl(c);
}

// The page goes into the first of the tab control's pages that has none yet.
WindowHandle GtkDialogView::createPage(uint32_t templateId, int ownerControl, DialogController& controller) {
    const DialogTemplate* pageTemplate = findDialogTemplate(templateId);
    const ControlWidget* tabs = find(ownerControl, ControlKind::TabControl);
    if (!pageTemplate || !tabs) return 0;
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
    return handleOf(pages_.back()->window_);
}

// A hidden dialog is never seen: what it opens is kept over what it is kept over.
int GtkDialogView::runModal(uint32_t templateId, DialogController& controller) {
    GtkWindow* parent = template_.kind == DialogKind::Hidden ? nullptr : GTK_WINDOW(gtk_widget_get_toplevel(window_));
    return run(templateId, controller, parent, resources_);
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

bool GtkDialogView::initialise() { return deliver(Message{msg::kInitDialog, 0, 0}) != 0; }

void GtkDialogView::endDialog(int result) {
    result_ = result;
    if (window_) gtk_widget_hide(window_);
    if (loop_) g_main_loop_quit(loop_);
}

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

ControlWidget* GtkDialogView::find(int id) {
    for (ControlWidget& c : controls_)
        if (c.id == id) return &c;
    return nullptr;
}

ControlWidget* GtkDialogView::find(int id, ControlKind kind) {
    ControlWidget* c = find(id);
    return c && c->kind == kind ? c : nullptr;
}

ControlWidget* GtkDialogView::holding(GtkWidget* widget) {
    for (ControlWidget& c : controls_)
        if (c.outer == widget || c.inner == widget) return &c;
    return nullptr;
}

GtkWidget* GtkDialogView::controlWidget(int id) {
    const ControlWidget* c = find(id);
    return c ? c->outer : nullptr;
}

WindowHandle GtkDialogView::window() { return handleOf(window_); }
