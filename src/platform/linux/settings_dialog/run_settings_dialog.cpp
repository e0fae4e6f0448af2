#include "platform/linux/settings_dialog/run_settings_dialog.h"

#include <gtk/gtk.h>

#include <cstdio>
#include <memory>

#include "dialogs/configure_dialog.h"
#include "platform/linux/session/display_choice.h"
#include "platform/linux/store/file_store.h"
#include "platform/linux/settings_dialog/foreign_window.h"
#include "platform/linux/settings_dialog/gtk_dialog_view.h"
#include "platform/linux/settings_dialog/linux_help_viewer.h"
#include "platform/linux/store/linux_folder_system.h"
#include "ui/dialog_ids.h"

int runSettingsDialog(std::span<const uint8_t> aboutPicture, WindowHandle owner) {
    // The saver's display system: X11 as its preview pane, or Wayland.
    gdk_set_allowed_backends(chooseDisplaySystem(displayEnvironment()) == DisplaySystem::Wayland ? "wayland" : "x11");
    if (!gtk_init_check(nullptr, nullptr)) {
        std::fputs("lumara: no display to show the settings dialog on; under a virtual one: xvfb-run -a lumara /c\n",
                   stderr);
        return -1;
    }
    FileStore store = FileStore::fromEnvironment();
    LinuxFolderSystem folders = LinuxFolderSystem::forThisProcess();
    const auto settings = std::make_unique<Settings>();
    LinuxHelpViewer viewer(*settings);
    Help help(viewer, *settings);
    DialogServices services{*settings, store, folders, help};
    ConfigureDialog configure(services);
    GdkWindow* keptOver = foreignWindow(gdk_display_get_default(), owner);
    const int result = GtkDialogView::run(dlg::kConfigure, configure, nullptr, {aboutPicture, keptOver});
    if (keptOver) g_object_unref(keptOver);
    return result;
}
