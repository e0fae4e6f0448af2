// The saver's command line as the system passes it: any text must give a
// mode or none, never a crash or a hang.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "saver/command_line.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    SaverCommand command;
    if (parseSaverCommand(text, command) && command.mode == SaverCommand::Mode::FullScreen && command.window != 0)
        __builtin_trap();
    (void)parseWindowHandle(text);
    return 0;
}
