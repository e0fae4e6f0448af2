// lumara.scr: the saver on Windows. The system starts it with "/s" (full
// screen), "/p N" (preview in window N), "/c" or nothing (settings), or
// "/a N" (password change, Windows 95/98/Me only).
#include <windows.h>
#include <commctrl.h>

#include <memory>

#include "dialogs/dialog_services.h"
#include "platform/win32/d3d9_device.h"
#include "platform/win32/html_help_viewer.h"
#include "platform/win32/playsound_player.h"
#include "platform/win32/registry_store.h"
#include "platform/win32/win32_folder_system.h"
#include "platform/win32/win32_host.h"
#include "platform/win32/win32_system_components.h"
#include "saver/saver_main.h"
#include "saver/saver_state.h"
#include "starfield/picture_decoder.h"

namespace {

Win32SystemComponents* theComponents = nullptr;
bool win9xPlatform = false;

// A fault that escapes the saver goes to the system's own report first; when
// the program is then to go on to its handler, the system's task-switching
// keys are given back before the process ends with -1.
LONG WINAPI lastChanceFilter(EXCEPTION_POINTERS* exception) {
    const LONG verdict = UnhandledExceptionFilter(exception);
    if (verdict != EXCEPTION_EXECUTE_HANDLER) return verdict;
    if (win9xPlatform && theComponents) theComponents->setScreenSaverRunning(false);
    ExitProcess(static_cast<UINT>(-1));
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_TAB_CLASSES};
    InitCommonControlsEx(&controls);

    Win32SystemComponents components;
    theComponents = &components;
    win9xPlatform = components.isWin9xPlatform();
    SetUnhandledExceptionFilter(lastChanceFilter);

    SaverCommand command;
    if (!parseSaverCommand(commandLine ? commandLine : "", command)) return -1;

    // Process-wide for the whole run, as the saver's logic expects.
    const auto state = std::make_unique<SaverState>();
    RegistryStore store;
    Win32FolderSystem folders;
    HtmlHelpViewer helpViewer;
    Help help(helpViewer, state->settings);
    DialogServices dialogs{state->settings, store, folders, help};
    Win32Host host(instance, dialogs);
    if (command.showsSettingsDialog()) return settingsDialogMain(command, host);
    D3d9Device device;
    PlaySoundPlayer sound(instance);
    const auto pictures = makePlatformPictureDecoder();
    return saverMain(command, *state, {host, components, {host, device, sound, store, folders, *pictures}});
}
