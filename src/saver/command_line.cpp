#include "saver/command_line.h"

#include <limits>

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

SaverCommand parseSaverCommand(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '-' || text.front() == '/'))
        text.remove_prefix(1);
    if (text.empty()) return {SaverCommand::Mode::Settings, 0};
    const char letter = text.front();
    const std::string_view rest = text.substr(1);
    switch (letter) {
    case 'S':
    case 's': return {SaverCommand::Mode::FullScreen, 0};
    case 'P':
    case 'p':
    case 'L':
    case 'l': return {SaverCommand::Mode::Preview, parseWindowHandle(skipSpaces(rest))};
    case 'C':
    case 'c':
        return {SaverCommand::Mode::Configure,
                !rest.empty() && rest.front() == ':' ? parseWindowHandle(rest.substr(1)) : 0};
    case 'A':
    case 'a': return {SaverCommand::Mode::ChangePassword, parseWindowHandle(skipSpaces(rest))};
    default: return {SaverCommand::Mode::Invalid, 0};
    }
}
