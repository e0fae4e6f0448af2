#include "saver/command_line.h"

#include <limits>

#include "base/message_text.h"
#include "saver/hack_command.h"
#include "saver/idle_command.h"

WindowHandle parseWindowHandle(std::string_view text) {
    WindowHandle value = 0;
    constexpr WindowHandle kMax = std::numeric_limits<WindowHandle>::max();
    for (char c : text) {
        if (c < '0' || c > '9') break;
        const auto digit = static_cast<WindowHandle>(c - '0');
        if (value > (kMax - digit) / 10) return 0;  // no window has such a number
        value = value * 10 + digit;
    }
    return value;
}

namespace {

std::string_view skipSpaces(std::string_view text) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    return text;
}

}  // namespace

bool parseSaverCommand(std::string_view text, SaverCommand& command) {
    using Mode = SaverCommand::Mode;
    while (!text.empty() && (text.front() == ' ' || text.front() == '-' || text.front() == '/'))
        text.remove_prefix(1);
    if (text.empty()) {
        command = {Mode::Settings, 0, {}};
        return true;
    }
    const std::string_view rest = text.substr(1);
    switch (text.front()) {
    case 'S':
    case 's': command = {Mode::FullScreen, 0, {}}; return true;
    case 'P':
    case 'p':
    case 'L':
    case 'l': command = {Mode::Preview, parseWindowHandle(skipSpaces(rest)), {}}; return true;
    case 'C':
    case 'c':
        command = {Mode::Configure, !rest.empty() && rest.front() == ':' ? parseWindowHandle(rest.substr(1)) : 0, {}};
        return true;
    case 'A':
    case 'a': command = {Mode::ChangePassword, parseWindowHandle(skipSpaces(rest)), {}}; return true;
    default: return false;
    }
}

Outcome parseSaverArguments(const std::vector<std::string>& args, SaverCommand& command) {
    if (isIdleCommandLine(args)) return parseIdleCommand(args, command);
    if (isHackCommandLine(args)) return parseHackCommand(args, command);
    std::string text;
    for (const std::string& arg : args) text += (text.empty() ? "" : " ") + arg;
    if (parseSaverCommand(text, command)) return {};
    return Outcome::failure("unknown argument '" + shownInMessage(args.front()) + "' (see lumara --help)");
}
