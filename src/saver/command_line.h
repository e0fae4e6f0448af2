#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/outcome.h"
#include "saver/messages.h"
#include "settings/setting_table.h"

// A picture parameter set for one run, after the stored settings are read.
struct SettingOverride {
    const SettingInfo* setting;
    int32_t value;  // as stored
};

// What a run of the saver is to do, read once from its command line: one
// of the modes the system starts a screen saver in, or, on Linux, one of a
// screen-saver daemon's hack (hack_command.h).
struct SaverCommand {
    enum class Mode {
        Settings,        // nothing given: the settings dialog without an owner
        Configure,       // "C": the settings dialog owned by the given or foreground window
        FullScreen,      // "S"
        Preview,         // "P" or "L" with the preview pane
        ChangePassword,  // "A" with the owner of the system's dialog
        Root,            // a hack into the daemon's window, else the root window
        WindowId,        // a hack into the given window
        Window,          // a hack in a resizable window of its own
        Help,            // the usage text: main answers it
        Version,         // the version: main answers it
        IdleWatch,       // Linux: watch the session, start the saver after idleMilliseconds (idle_command.h)
        IdleEnable,      // Linux: start that watcher at every login
        IdleDisable,     // Linux: no longer start it at login
    };
    Mode mode = Mode::Settings;
    WindowHandle window = 0;                 // the number given with the mode; 0 when none
    std::vector<SettingOverride> overrides;  // a hack's options, in command-line order
    bool showFrameRate = false;              // a hack's -fps: the frame rate drawn into its frames
    std::string display{};                   // a hack's -display: the X display to open; "" for $DISPLAY
    uint32_t idleMilliseconds = 0;           // IdleWatch, IdleEnable: the idle time before the saver starts

    // The settings dialog needs no saver window (on Linux it runs without SDL).
    bool showsSettingsDialog() const { return mode == Mode::Settings || mode == Mode::Configure; }
};

// Reads decimal digits from the start of the text up to the first other
// character. No digits, or a number too long for a window handle, give 0.
WindowHandle parseWindowHandle(std::string_view text);

// The command line as the system passes it, the text after the program
// name; false when it names no mode.
bool parseSaverCommand(std::string_view commandLine, SaverCommand& command);

// The arguments of the Linux program, without its name: the idle
// watcher's words (idle_command.h), a hack's command line, else the system's modes, read from the arguments joined by spaces
// as that text. A refused command line says why, in one line.
Outcome parseSaverArguments(const std::vector<std::string>& args, SaverCommand& command);
