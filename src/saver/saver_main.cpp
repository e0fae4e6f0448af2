#include "saver/saver_main.h"

#include "saver/host_shell.h"
#include "saver/saver_state.h"

namespace {

// The system's dialog for a new saver password, MPR.DLL's PwdChangePasswordA.
void changePassword(SystemComponents& components, WindowHandle window) {
    const SystemComponents::Library mpr = components.loadLibrary("MPR.DLL");
    if (!mpr) return;
    if (const auto change = components.findProcedure(mpr, "PwdChangePasswordA"))
        components.callPwdChangePassword(change, "SCRSAVE", window);
    components.freeLibrary(mpr);
}

int runSaverWindow(SaverWindowMode mode, WindowHandle window, const SaverCommand& command, SaverState& state,
                   const SaverPlatform& platform) {
    SaverWindow saver(state, platform.services, mode, command.overrides, command.showFrameRate);
    HostShell shell(platform.host, platform.components, saver, mode);
    const int code = shell.run(window);
    state.renderer.release();
    return code;
}

// The window a command names when it is one, else the foreground one.
template <typename Platform>
WindowHandle windowOrForeground(Platform& platform, WindowHandle named) {
    return named != 0 && platform.isWindow(named) ? named : platform.foregroundWindow();
}

}  // namespace

int settingsDialogMain(const SaverCommand& command, DialogPlatform& platform) {
    if (command.mode == SaverCommand::Mode::Settings) return platform.showConfigureDialog(0);
    if (command.mode != SaverCommand::Mode::Configure) return -1;
    return platform.showConfigureDialog(windowOrForeground(platform, command.window));
}

int saverMain(const SaverCommand& command, SaverState& state, const SaverPlatform& platform) {
    using Mode = SaverCommand::Mode;
    HostPlatform& host = platform.host;
    switch (command.mode) {
    case Mode::ChangePassword:
        if (!platform.components.isWin9xPlatform()) return -1;
        changePassword(platform.components, windowOrForeground(host, command.window));
        return 0;
    case Mode::FullScreen: return runSaverWindow(SaverWindowMode::FullScreen, 0, command, state, platform);
    case Mode::Preview:
        if (command.window == 0 || !host.isWindow(command.window)) return -1;
        return runSaverWindow(SaverWindowMode::Preview, command.window, command, state, platform);
    case Mode::Root:  // main has found the daemon's window, or the root window
    case Mode::WindowId:
        if (command.window == 0) return -1;
        return runSaverWindow(SaverWindowMode::Hack, command.window, command, state, platform);
    case Mode::Window: return runSaverWindow(SaverWindowMode::Hack, 0, command, state, platform);
    case Mode::Settings:
    case Mode::Configure:  // settingsDialogMain's
    case Mode::Help:
    case Mode::Version:
    case Mode::IdleWatch:
    case Mode::IdleEnable:
    case Mode::IdleDisable: break;  // main answers these
    }
    return -1;
}
