#pragma once
#include "saver/command_line.h"
#include "saver/host_platform.h"
#include "saver/saver_window.h"

struct SaverState;

// The platform's side of a run, each part behind its seam: the windowing
// system, the Windows 95/98/Me components, and the services of the saver
// window. On both platforms one host object serves as `host` and as
// `services.window`.
struct SaverPlatform {
    HostPlatform& host;
    SystemComponents& components;
    SaverServices services;
};

// The settings dialog of a command that shows it (SaverCommand::
// showsSettingsDialog): without an owner when nothing was given, else owned
// by the window "/c:N" names when it is one, or by the foreground window.
int settingsDialogMain(const SaverCommand& command, DialogPlatform& platform);

// One run of the saver, from the command its main read to the exit code:
// the system's password change (Windows 95/98/Me only), or the saver
// window, full screen, in the preview pane or as a daemon's hack, made and
// driven by the host shell until it closes; the renderer is released at
// the end. Both mains call it; the settings dialog (settingsDialogMain),
// Help and Version are theirs to answer (-1).
int saverMain(const SaverCommand& command, SaverState& state, const SaverPlatform& platform);
