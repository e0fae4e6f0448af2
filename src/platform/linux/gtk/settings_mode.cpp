#include "platform/linux/gtk/settings_mode.h"

#include <gtk/gtk.h>

#include <cstdio>
#include <memory>

#include "dialogs/configure_dialog.h"
#include "platform/linux/file_store.h"
#include "platform/linux/gtk/gtk_dialog_view.h"
#include "platform/linux/linux_folder_system.h"
#include "ui/dialog_ids.h"

namespace {

// No help viewer yet: help shows nothing.
class NoHelpViewer final : public HelpViewer {
public:
    std::string registeredLibrary() override { return {}; }
    bool loadLibrary(const std::string&) override { return false; }
    bool findEntryPoint() override { return false; }
    intptr_t displayTopic(WindowHandle, const std::string&) override { return 0; }
    intptr_t displayTextPopup(WindowHandle, const std::string&, const HelpPopup&) override { return 0; }
    intptr_t initialize(uint32_t&) override { return 0; }
    intptr_t uninitialize(uint32_t) override { return 0; }
};

}  // namespace

int runSettingsMode(std::span<const uint8_t> aboutPicture) {
    // X11, as the saver and its preview pane.
    gdk_set_allowed_backends("x11");
    if (!gtk_init_check(nullptr, nullptr)) {
        std::fputs("lumara: no display to show the settings dialog on; under a virtual one: xvfb-run -a lumara /c\n",
                   stderr);
        return -1;
    }
    FileStore store = FileStore::fromEnvironment();
    LinuxFolderSystem folders = LinuxFolderSystem::forThisProcess();
    const auto settings = std::make_unique<Settings>();
    NoHelpViewer viewer;
    Help help(viewer, *settings);
    DialogServices services{*settings, store, folders, help};
    ConfigureDialog configure(services);
    return GtkDialogView::run(dlg::kConfigure, configure, nullptr, {aboutPicture});
}
