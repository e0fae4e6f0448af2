// lumara: the saver on Linux. "/s" runs full screen, "/p N" or "/l N" the
// preview in X11 window N, nothing or "/c" the settings dialog.
#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "file_store.h"
#include "platform/linux/gtk/settings_mode.h"
#include "linux_folder_system.h"
#include "render/software_device.h"
#include "saver/command_line.h"
#include "saver/host_shell.h"
#include "saver/saver_state.h"
#include "saver/saver_window.h"
#include "sdl/no_system_components.h"
#include "sdl/preview_picture.h"
#include "sdl/sdl_host.h"
#include "sdl/sdl_sound_player.h"
#include "starfield/picture_decoder.h"

int main(int argc, char** argv) {
    std::string commandLine;
    for (int i = 1; i < argc; ++i) commandLine += (i > 1 ? " " : "") + std::string(argv[i]);
    // A mode that does not exist ends here, display or not.
    const SaverCommand::Mode mode = parseSaverCommand(commandLine).mode;
    if (mode == SaverCommand::Mode::Invalid) return -1;
    // The settings dialog runs on GTK alone; SDL is for the saver's window.
    if (mode == SaverCommand::Mode::Settings || mode == SaverCommand::Mode::Configure)
        return runSettingsMode(previewPicture()) & 0xFF;

    // X11 only: the preview pane is an X11 window, and without a display
    // SDL would otherwise settle for an offscreen driver nobody sees.
    SDL_SetHint(SDL_HINT_VIDEODRIVER, "x11");
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_TIMER) != 0) {
        std::fprintf(stderr, "lumara: no display to run on (%s); under a virtual one: xvfb-run -a lumara /s\n",
                     SDL_GetError());
        return 1;
    }
    auto state = std::make_unique<SaverState>();
    int code = 0;
    {
        SdlHost host(previewPicture());
        SoftwareDevice device(SdlHost::desktopFormat(), [&host](const FrameTarget& frame) { host.showFrame(frame); });
        SdlSoundPlayer sound;
        FileStore store = FileStore::fromEnvironment();
        LinuxFolderSystem folders = LinuxFolderSystem::forThisProcess();
        const auto pictures = makePlatformPictureDecoder();
        NoSystemComponents components;
        SaverWindow saverWindow(*state, SaverServices{host, device, sound, store, folders, *pictures});
        HostShell shell(host, components, saverWindow);
        saverWindow.attach(shell);
        host.attach(shell);
        code = shell.saverMain(commandLine);
        state->renderer.release();
    }
    // SDL_Quit is left out on purpose: closing SDL's second X11 connection
    // reports any late error on it (a wake-up event SDL sent to the window as
    // it closed), and Xlib's answer to that is exit status 1. Sound and
    // windows are closed above; the system takes the connections back.
    std::fflush(nullptr);
    std::_Exit(code & 0xFF);
}
