#pragma once
// The settings dialogs as a person meets them on Linux: real GTK dialogs in
// a private X server, driven through their widgets, with the settings store,
// the program folder and a desktop (browser, caches) of the test's own.
#include <gtk/gtk.h>

#include <chrono>
#include <functional>
#include <memory>
#include <string>

#include "dialogs/settings_dialog.h"
#include "platform/linux/store/file_store.h"
#include "platform/linux/settings_dialog/gtk_dialog_view.h"
#include "platform/linux/settings_dialog/linux_help_viewer.h"
#include "platform/linux/store/linux_folder_system.h"
#include "saver_linux/x11_session.h"
#include "ui/dialog_ids.h"

// The private X server, GTK on it, and the private desktop's folders.
X11Session& testDisplay();
std::string desktopFolder();  // XDG_DATA_HOME, XDG_CONFIG_HOME and XDG_CACHE_HOME live under it

// Runs GTK's pending work, for at least `time`.
void pump(std::chrono::milliseconds time = std::chrono::milliseconds(150));
// Runs GTK's pending work until `done` holds or `limit` has passed; whether it held.
bool pumpUntil(const std::function<bool()>& done, std::chrono::milliseconds limit = kPatience);
// Runs `step` from GTK's loop every 20 ms until it returns true: for acting
// in a modal dialog while the click that opened it waits.
void whenReady(std::function<bool()> step);

// A test's own settings store, program folder and open settings dialog.
struct SettingsRun {
    explicit SettingsRun(const std::string& name);
    ~SettingsRun();

    // Stores `adjust`ed first-run settings as the saved ones.
    void store(const std::function<void(Settings&)>& adjust = {});
    void open();
    // The settings as the store holds them now.
    Settings stored();
    std::string storeBytes();

    GtkWidget* widget(int id);  // of the dialog or any of its pages
    GtkDialogView& page(uint32_t templateId) { return *GtkDialogView::latest(templateId); }
    void showPage(int index);

    std::string folder;
    FileStore files;
    LinuxFolderSystem folders{LUMARA_EXE};
    Settings settings;
    LinuxHelpViewer viewer{settings};
    Help help{viewer, settings};
    DialogServices services{settings, files, folders, help};
    SettingsDialog dialog{services};
    std::unique_ptr<GtkDialogView> view;
};

// The text of a label, button or check box as it shows.
std::string shownText(GtkWidget* widget);
// A shown toplevel window of `type` (GTK_TYPE_MESSAGE_DIALOG, ...), or null.
GtkWidget* shownWindow(GType type);
// A key pressed and released with the focus on `widget`, delivered through
// GTK's event handling as the X server's would be.
void pressKey(GtkWidget* widget, guint keyval);
// A click of mouse button `button` on the middle of `widget`, the same way;
// or at (x, y) of the widget.
void clickOn(GtkWidget* widget, guint button);
void clickAt(GtkWidget* widget, int x, int y, guint button);
