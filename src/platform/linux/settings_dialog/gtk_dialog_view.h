#pragma once
// The dialogs' view on Linux: GTK 3 dialogs laid out from the templates of
// src/ui, one GtkFixed per dialog with every control at its rectangle
// converted from dialog units with the theme font's metrics. Pairs with the
// controllers of src/dialogs, which get the messages a Windows dialog
// procedure gets: WM_INITDIALOG, WM_COMMAND from buttons, check boxes, list
// and drop-down selections (BN_CLICKED, LBN_SELCHANGE, CBN_SELCHANGE),
// WM_HSCROLL from trackbars, WM_NOTIFY TCN_SELCHANGING/TCN_SELCHANGE from
// the page tabs, WM_HELP (F1), WM_CONTEXTMENU (right-click, Shift+F10, the
// menu key), WM_MOVE and WM_DESTROY. Changes the view makes for its
// controller notify nothing, as Windows' control messages do not.
//
// The dialog manager's keys are the view's: Enter, Esc and the close box
// follow dialogs/dialog_keys.h, whether the focus is in the dialog or one of
// its pages. The settings pages are the page tabs' own notebook pages, so
// the notebook keeps them over its display area; placing them is left to it.
//
// One file per concern, as the private part below is grouped:
//   gtk_dialog_view.cpp       opening and running a dialog, its pages and the
//                             dialogs it opens; closing; delivering messages
//   dialog_layout.h           the template's controls placed from dialog units
//   gtk_dialog_signals.cpp    the widgets' signals as the controllers' messages
//   gtk_dialog_input.cpp      the dialog manager's keys, the close box, and the
//                             control a right-click is for
//   gtk_dialog_controls.cpp   DialogView's operations on controls
//   gtk_dialog_placement.cpp  where a dialog opens, pages shown and hidden
//   gtk_dialog_registry.cpp   every open view, for handles held outside one
#include <gtk/gtk.h>

#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "dialogs/dialog_controller.h"
#include "dialogs/dialog_keys.h"
#include "platform/linux/settings_dialog/control_widgets.h"
#include "platform/linux/settings_dialog/dialog_units.h"

class GtkDialogView final : public DialogView {
public:
    // What every dialog of a run shares: the About box's picture, and the
    // window of another program (the one "lumara /c:N" names) that the
    // run's dialogs are kept over and centred on; null for none.
    struct Resources {
        std::span<const uint8_t> aboutPicture;
        GdkWindow* keptOver = nullptr;
    };

    // Runs dialog `templateId` modally, transient for `owner` (null: none);
    // its result. GTK must be initialised.
    static int run(uint32_t templateId, DialogController& controller, GtkWindow* owner, const Resources& resources);

    // Opens dialog `templateId` and shows it without waiting; it closes
    // when it ends or the view is dropped. For programs that run their own
    // main loop around it.
    static std::unique_ptr<GtkDialogView> open(uint32_t templateId, DialogController& controller, GtkWindow* owner,
                                               const Resources& resources);
    ~GtkDialogView() override;
    GtkDialogView(const GtkDialogView&) = delete;
    GtkDialogView& operator=(const GtkDialogView&) = delete;

    // The result once the dialog has ended.
    std::optional<int> result() const { return result_; }
    // The toplevel window of a dialog, the GtkFixed of a page.
    GtkWidget* widget() const { return window_; }
    // The widget of control `id`, or null.
    GtkWidget* controlWidget(int id);
    // The widget behind a handle of any open dialog, or null when none has it.
    static GtkWidget* liveWidget(WindowHandle handle);
    // The dialog or page of template `templateId` opened last and still
    // open, or null.
    static GtkDialogView* latest(uint32_t templateId);

    // DialogView
    WindowHandle window() override;
    WindowHandle control(int id) override;
    int32_t controlId(WindowHandle window) override;
    void setText(int id, std::string_view text) override;
    std::string text(int id, size_t limit) override;
    void setTextLimit(int id, size_t limit) override;
    void enable(int id, bool enabled) override;
    void focus(int id) override;
    bool isChecked(int id) override;
    void setChecked(int id, bool checked) override;
    std::vector<DescendantWindow> descendants() override;
    void setWindowText(WindowHandle window, std::string_view text) override;
    void listReset(int id) override;
    void listAdd(int id, std::string_view row) override;
    void listDelete(int id, int row) override;
    void listSelect(int id, int row) override;
    int listSelection(int id) override;
    void comboReset(int id) override;
    void comboAdd(int id, std::string_view row) override;
    void comboSelect(int id, int row) override;
    int comboSelection(int id) override;
    void trackbarSetup(int id, int32_t low, int32_t high, int32_t tickFrequency, int32_t pageSize,
                       int32_t lineSize) override;
    void trackbarSetPosition(int id, int32_t position) override;
    int32_t trackbarPosition(int id) override;
    void tabInsert(int id, int index, std::string_view text) override;
    int tabSelection(int id) override;
    PixelRect tabItemRect(int id, int index) override;
    PixelRect controlScreenRect(int id) override;
    bool openFile(const OpenFileRequest& request, std::string& path) override;
    void showError(std::string_view caption, std::string_view text) override;
    int runModal(uint32_t templateId, DialogController& controller) override;
    WindowHandle createPage(uint32_t templateId, int ownerControl, DialogController& controller) override;
    void placeWindow(WindowHandle window, const PixelRect& rect) override;
    void showWindow(WindowHandle window, bool shown) override;
    void centre() override;
    void endDialog(int result) override;

private:
    GtkDialogView(const DialogTemplate& dialog, DialogController& controller, GtkDialogView* owner,
                  const Resources& resources);

    // gtk_dialog_view.cpp: opening, pages, closing, delivering messages.
    void build(GtkWindow* transientFor);
    void layOut(GtkWidget* fixed, const DialogUnits& units);
    bool initialise();
    void close();
    intptr_t deliver(const Message& message);
    void command(int id, uint16_t code);
    // The page holding `widget`, or this dialog.
    GtkDialogView& viewHolding(GtkWidget* widget);
    ControlWidget* find(int id);
    // Control `id` when it is of `kind`, else null: an operation meant for
    // one kind of control leaves a control of another kind alone.
    ControlWidget* find(int id, ControlKind kind);
    // The control whose widget (outer or inner) is `widget`, or null.
    ControlWidget* holding(GtkWidget* widget);

    // gtk_dialog_controls.cpp: runs `apply` on control `id` of `kind`, if
    // there is one, without the changes it makes becoming messages.
    template <class Apply>
    void change(int id, ControlKind kind, Apply apply);

    // gtk_dialog_registry.cpp: every view open in the process.
    void enrol();
    void withdraw();

    // gtk_dialog_signals.cpp: the signals that become messages.
    void connectWindow();
    void connectControl(const ControlWidget& control);
    static void onClicked(GtkButton* button, gpointer view);
    static void onToggled(GtkToggleButton* button, gpointer view);
    static void onRowSelected(GtkListBox* list, GtkListBoxRow* row, gpointer view);
    static void onComboChanged(GtkComboBox* combo, gpointer view);
    static void onValueChanged(GtkRange* range, gpointer view);
    static void onSwitchPage(GtkNotebook* notebook, GtkWidget* page, guint index, gpointer view);
    static void onPageSwitched(GtkNotebook* notebook, GtkWidget* page, guint index, gpointer view);
    static gboolean onKeyPress(GtkWidget* window, GdkEventKey* key, gpointer view);
    static gboolean onDelete(GtkWidget* window, GdkEvent* event, gpointer view);
    static gboolean onConfigure(GtkWidget* window, GdkEventConfigure* event, gpointer view);
    static void onPressed(GtkGestureMultiPress* gesture, gint presses, gdouble x, gdouble y, gpointer view);
    static void onReleased(GtkGestureMultiPress* gesture, gint presses, gdouble x, gdouble y, gpointer view);

    // gtk_dialog_input.cpp: the dialog manager's keys, the close box, the
    // control a right-click is for.
    bool onKey(const GdkEventKey& key);
    bool dialogKey(DialogKey key, GtkWidget* focused);
    struct RightClickTarget {
        GtkWidget* control;     // the smallest control under the point that takes clicks, or null
        GtkWidget* background;  // the page or dialog under the point
        bool overEdit;          // an edit field is under the point
    };
    RightClickTarget rightClickTarget(double x, double y);
    bool takesRightPress(double x, double y);
    void onRightClick(double x, double y);
    void contextMenuFor(GtkWidget* clicked, int rootX, int rootY);

    // gtk_dialog_placement.cpp
    void centreOverForeignWindow();

    // While the view changes its own controls: their signals are no messages.
    struct Quiet {
        explicit Quiet(GtkDialogView& v) : view(v) { ++view.quiet_; }
        ~Quiet() { --view.quiet_; }
        GtkDialogView& view;
    };

    const DialogTemplate& template_;
    DialogController& controller_;
    GtkDialogView* owner_;  // the dialog a page belongs to; null for a dialog
    Resources resources_;
    GtkWidget* window_ = nullptr;
    GtkGesture* rightClick_ = nullptr;
    std::vector<ControlWidget> controls_;
    std::vector<std::unique_ptr<GtkDialogView>> pages_;
    int defaultId_ = msg::kIdOk;
    std::optional<int> result_;
    GMainLoop* loop_ = nullptr;
    int quiet_ = 0;
    int lastX_ = 0, lastY_ = 0;
    bool closed_ = false;
};
