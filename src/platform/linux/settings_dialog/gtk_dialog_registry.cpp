// GtkDialogView: every dialog and page open in the process, oldest first.
// A window handle can outlive its view in a controller's or the help
// viewer's hands; looking it up here finds its widget only while a view
// still has it.
#include "platform/linux/settings_dialog/gtk_dialog_view.h"

#include <algorithm>

namespace {

std::vector<GtkDialogView*>& openViews() {
    static std::vector<GtkDialogView*> views;
    return views;
}

}  // namespace

void GtkDialogView::enrol() { openViews().push_back(this); }

void GtkDialogView::withdraw() { std::erase(openViews(), this); }

int32_t GtkDialogView::controlId(WindowHandle window) {
    for (GtkDialogView* view : openViews())
        for (const ControlWidget& c : view->controls_)
            if (handleOf(c.outer) == window) return c.id;
    return kUnnamedControl;
}

GtkWidget* GtkDialogView::liveWidget(WindowHandle h) {
    for (GtkDialogView* view : openViews()) {
        if (view->window_ && handleOf(view->window_) == h) return view->window_;
        for (const ControlWidget& c : view->controls_)
            if (handleOf(c.outer) == h && view->window_) return c.outer;
    }
    return nullptr;
}

GtkDialogView* GtkDialogView::latest(uint32_t templateId) {
    for (auto view = openViews().rbegin(); view != openViews().rend(); ++view)
        if ((*view)->template_.id == templateId && !(*view)->closed_) return *view;
    return nullptr;
}
