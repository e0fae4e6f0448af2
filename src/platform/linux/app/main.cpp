// lumara: the saver on Linux. "/s" runs full screen, "/p N" or "/l N" the
// preview in X11 window N, nothing, "/c" or "/c:N" the settings dialog; "-root",
// "-window-id N" and "-window" run it as a screen-saver daemon's hack
// (saver/hack_command.h); "--help" and "--version" answer on stdout. In a
// Wayland session (display_choice.h) "/s" runs as a Wayland client.
// "--idle MINUTES" watches the session and starts "/s" on idle; with
// "--idle-enable"/"--idle-disable" it starts at login or no longer
// (platform/linux/idle).
#include <SDL.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "platform/linux/app/module_dialog.h"
#include "platform/linux/idle/autostart_entry.h"
#include "platform/linux/idle/idle_watcher.h"
#include "platform/linux/session/display_choice.h"
#include "platform/linux/session/ending_signals.h"
#include "platform/linux/session/no_system_components.h"
#include "platform/linux/session/preview_picture.h"
#include "platform/linux/sound/sdl_sound_player.h"
#include "platform/linux/store/file_store.h"
#include "platform/linux/store/linux_folder_system.h"
#include "platform/linux/wayland/wayland_host.h"
#include "platform/linux/x11/sdl_host.h"
#include "render/software_device.h"
#include "saver/command_line.h"
#include "saver/hack_command.h"
#include "saver/saver_main.h"
#include "saver/saver_state.h"
#include "settings/settings_store.h"
#include "starfield/picture_decoder.h"

namespace {

std::string joined(const std::vector<std::string>& names, const std::string& none) {
    std::string text;
    for (const std::string& name : names) text += (text.empty() ? "" : ", ") + name.substr(name.rfind('/') + 1);
    return text.empty() ? none : text;
}

// Where this run's settings and program folder are, as the saver finds them.
void printWhereSettingsLive() {
    FileStore store = FileStore::fromEnvironment();
    LinuxFolderSystem folders = LinuxFolderSystem::forThisProcess();
    Settings settings;
    LoadSettings(settings, store, folders);
    std::printf("Settings: %s (yours; LUMARA_USER_STORE names another),\n"
                "          %s (a machine-wide ProgramDir, only read; LUMARA_MACHINE_STORE).\n"
                "Program folder: %s\n"
                "  language files: %s\n"
                "  help files: %s\n",
                store.fileOf(Hive::User).c_str(), store.fileOf(Hive::Machine).c_str(), settings.ProgramDir.c_str(),
                joined(settings.LanguageFiles, "none").c_str(), joined(settings.HelpFiles, "none").c_str());
}

// The window a hack draws into for -root (the one the daemon names, else
// the root window) and -window-id, and the preview's pane. False, with a
// line on stderr, when the command names no window of this display.
bool findGivenWindow(SaverCommand& command, SdlHost& host) {
    std::string named;
    switch (command.mode) {
    case SaverCommand::Mode::Preview: named = "/p " + std::to_string(command.window); break;
    case SaverCommand::Mode::WindowId: named = "-window-id"; break;
    case SaverCommand::Mode::Root: {
        const char* daemonWindow = std::getenv("XSCREENSAVER_WINDOW");
        named = "XSCREENSAVER_WINDOW";
        command.window = daemonWindow && *daemonWindow ? parseXWindowId(daemonWindow) : host.rootWindow();
        break;
    }
    default: return true;
    }
    if (command.window == 0 || !host.isWindow(command.window)) {
        std::fprintf(stderr, "lumara: %s names no window on this display\n", named.c_str());
        return false;
    }
    return true;
}

// One run of the saver over `host`, with the services every host shares.
// The host is the software device's screen: each frame goes from the device
// to the host's presenter directly, and nothing of it passes here. A
// failure the host met is said here, once, for both hosts.
template <typename Host>
int runSaver(const SaverCommand& command, Host& host, int32_t frameFormat) {
    auto state = std::make_unique<SaverState>();
    SoftwareDevice device(frameFormat, host);
    SdlSoundPlayer sound;
    FileStore store = FileStore::fromEnvironment();
    LinuxFolderSystem folders = LinuxFolderSystem::forThisProcess();
    const auto pictures = makePlatformPictureDecoder();
    NoSystemComponents components;
    const int code = saverMain(command, *state, {host, components, {host, device, sound, store, folders, *pictures}});
    if (const std::string failure = host.failure(); !failure.empty())
        std::fprintf(stderr, "lumara: %s\n", failure.c_str());
    return code;
}

// The full-screen saver as a Wayland client; 1 without a compositor, or
// once it stopped answering or went away.
int runOnWayland(const SaverCommand& command) {
    WaylandHost host;
    const int code = runSaver(command, host, WaylandHost::kFrameFormat);
    return host.connected() ? code : 1;
}

// The end of a run that had SDL or the dialog's module, by the signal that
// ended it, else with `code`. SDL_Quit is left out on purpose: closing
// SDL's second X11 connection reports any late error on it (a wake-up event
// SDL sent to the window as it closed), and Xlib's answer to that is exit
// status 1; GTK cannot be unloaded. Sound and windows are closed by then;
// the system takes the connections back.
[[noreturn]] void endProcess(int code) {
    std::fflush(nullptr);
    if (const int ending = endingSignal()) {
        std::signal(ending, SIG_DFL);
        std::raise(ending);
    }
    std::_Exit(code & 0xFF);
}

// A screen saver must not keep the screen saver (and the monitor's power
// saving) off, which SDL does by default, on X11 and through the session
// bus. SDL also joins that bus at SDL_Init; where the session has none, the
// bus library would start one through dbus-launch (seconds at every start,
// and a bus left behind per display), so it is told there is none. The
// saver modes start no programs that could miss it.
void keepSdlOffTheSessionBus() {
    SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "1");
    ::setenv("DBUS_SESSION_BUS_ADDRESS", "disabled:", 0);
}

}  // namespace

int main(int argc, char** argv) {
    using Mode = SaverCommand::Mode;
    SaverCommand command;
    // A mode that does not exist ends here, display or not.
    if (const Outcome read = parseSaverArguments({argv + 1, argv + argc}, command); !read.ok()) {
        std::fprintf(stderr, "lumara: %s\n", read.message().c_str());
        return -1;
    }
    if (command.mode == Mode::Help) {
        std::fputs(hackUsage().c_str(), stdout);
        printWhereSettingsLive();
        return 0;
    }
    if (command.mode == Mode::Version) {
        std::printf("lumara %s\n", LUMARA_VERSION);
        return 0;
    }
    // The watcher starts the saver as a process of its own: it holds no SDL.
    if (command.mode == Mode::IdleWatch) return runIdleWatcher(command.idleMilliseconds);
    if (command.mode == Mode::IdleEnable) return enableIdleStart(command.idleMilliseconds);
    if (command.mode == Mode::IdleDisable) return disableIdleStart();
    if (!command.display.empty()) ::setenv("DISPLAY", command.display.c_str(), 1);
    // The dialog runs on GTK alone, from its module: no SDL, no saver host.
    if (command.showsSettingsDialog()) {
        ModuleDialog dialog;
        endProcess(settingsDialogMain(command, dialog));
    }
    const DisplayEnvironment environment = displayEnvironment();
    if (command.mode == Mode::FullScreen && chooseDisplaySystem(environment) == DisplaySystem::Wayland) {
        keepSdlOffTheSessionBus();  // its sound
        return runOnWayland(command) & 0xFF;
    }
    if (command.mode != Mode::ChangePassword && waylandAlone(environment)) {
        std::fputs("lumara: the preview pane and a screen-saver daemon's modes draw into X11 windows, and this "
                   "Wayland session has no X11 display (DISPLAY)\n",
                   stderr);
        return -1;
    }
    // X11 only: the preview pane is an X11 window, and without a display
    // SDL would otherwise settle for an offscreen driver nobody sees.
    SDL_SetHint(SDL_HINT_VIDEODRIVER, "x11");
    noteEndingSignals();
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    keepSdlOffTheSessionBus();
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_TIMER) != 0) {
        std::fprintf(stderr, "lumara: no display to run on (%s); under a virtual one: xvfb-run -a lumara /s\n",
                     SDL_GetError());
        return 1;
    }
    int code = -1;
    {
        SdlHost host(previewPicture());
        if (findGivenWindow(command, host)) code = runSaver(command, host, SdlHost::desktopFormat());
    }
    endProcess(code);
}
