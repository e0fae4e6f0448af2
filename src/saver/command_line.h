#pragma once
#include <cstdint>
#include <string_view>

#include "saver/messages.h"

// Reads decimal digits from the start of the text up to the first other
// character. No digits, or a number too long for a window handle, give 0.
WindowHandle parseWindowHandle(std::string_view text);

// The mode the system starts the saver in, read from the text after the
// program name.
struct SaverCommand {
    enum class Mode {
        Settings,   // nothing given: the settings dialog without an owner
        Configure,  // "C": the settings dialog owned by the given or foreground window
        FullScreen,
        Preview,
        ChangePassword,
        Invalid,
    };
    Mode mode = Mode::Invalid;
    WindowHandle window = 0;  // the number given with the mode; 0 when none
};

SaverCommand parseSaverCommand(std::string_view commandLine);
