#pragma once
// The DialogPlatform seam (saver/host_platform.h) of "lumara", "lumara /c"
// and "lumara /c:N": the dialog's module (settings_module/module_loader.h)
// shows it, kept over an X11 window where there is one to keep it over.
// Pairs with Win32Host, which serves the same seam on Windows.
// Implements: the owner from X11 (the window "/c:N" names, else the
// desktop's active one), the dialog from its module with the preview picture
// in its About box.
// Leaves out: SDL, the saver window and everything else a run of the saver
// needs: "/c" makes none of it. Under Wayland alone there is no owner.
#include "platform/linux/session/preview_picture.h"
#include "platform/linux/settings_module/module_loader.h"
#include "platform/linux/x11/x11_windows.h"
#include "saver/host_platform.h"

class ModuleDialog final : public DialogPlatform {
public:
    bool isWindow(WindowHandle window) override { return window != 0 && x11_.exists(window); }
    WindowHandle foregroundWindow() override { return x11_.active(); }
    int showConfigureDialog(WindowHandle owner) override { return runSettingsModule(previewPicture(), owner); }

private:
    X11Windows x11_;
};
