// The Linux program's arguments: any bytes, split at NULs into arguments,
// must give a mode or a refusal with its reason, never a crash or a hang, and
// every value it lets through lies in its setting's offered range.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "saver/command_line.h"
#include "saver/hack_command.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<std::string> args(1);
    for (size_t i = 0; i < size && args.size() < 64; ++i) {
        if (data[i] == 0) args.emplace_back();
        else args.back().push_back(static_cast<char>(data[i]));
    }
    SaverCommand command;
    const Outcome read = parseSaverArguments(args, command);
    if (read.ok() == !read.message().empty()) __builtin_trap();
    for (const SettingOverride& o : command.overrides)
        if (o.value < o.setting->low || o.value > o.setting->high) __builtin_trap();
    (void)parseXWindowId(args.front());
    return 0;
}
