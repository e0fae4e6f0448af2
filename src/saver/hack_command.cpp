#include "saver/hack_command.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>

#include "base/message_text.h"
#include "base/parse_number.h"
#include "raster/frame_target.h"

namespace {

const SettingOption* findOption(std::string_view name) {
    for (const SettingOption& o : kSettingOptions)
        if (o.option == name) return &o;
    return nullptr;
}

bool isModeWord(std::string_view arg) { return arg == "-root" || arg == "-window" || arg == "-window-id"; }

// What every X program and hack takes. -display is honoured (main opens
// that display); a visual, a colormap of its own or a window geometry mean
// nothing to a hack that draws through SDL into the window it is given,
// so those are accepted and passed over.
struct XOption {
    std::string_view name;
    bool takesValue;
};
constexpr std::array<XOption, 4> kXOptions{{{"-display", true}, {"-visual", true}, {"-geometry", true},
                                             {"-install", false}}};

const XOption* findXOption(std::string_view name) {
    for (const XOption& o : kXOptions)
        if (o.name == name) return &o;
    return nullptr;
}

bool isHackWord(std::string_view arg) {
    return isModeWord(arg) || arg == "-fps" || findOption(arg) || findXOption(arg);
}

// A hack word in either spelling: xscreensaver 6 writes "--root" for "-root"
// and its own hacks take both, so "--stars" is "-stars". Anything else comes
// back as it is.
std::string_view hackWord(std::string_view arg) {
    if (arg.size() > 2 && arg.substr(0, 2) == "--" && isHackWord(arg.substr(1))) arg.remove_prefix(1);
    return arg;
}

std::string rangeText(const SettingOption& o) {
    const OptionRange r = optionRange(o);
    std::string text = std::to_string(r.low) + " to " + std::to_string(r.high);
    if (o.scale == OptionScale::Choice) {
        std::string names;
        for (std::string_view n : kAntiAliasNames) names += (names.empty() ? "" : ", ") + std::string(n);
        text = names + " or " + text;
    }
    return text;
}

// The stored value the option's text gives, or an error line.
bool parseOptionValue(const SettingOption& o, std::string_view text, int32_t& stored, std::string& error) {
    const OptionRange r = optionRange(o);
    int32_t value = 0;
    bool number = parseWholeNumber(text, value);
    // Digits beyond 32 bits are a whole number too, far out of the range.
    const std::string_view digits = text.substr(!text.empty() && (text[0] == '-' || text[0] == '+'));
    const bool tooWide = !number && !digits.empty() && digits.find_first_not_of("0123456789") == std::string_view::npos;
    if (!number && o.scale == OptionScale::Choice) {
        for (size_t i = 0; i < kAntiAliasNames.size(); ++i)
            if (kAntiAliasNames[i] == text) {
                value = r.low + static_cast<int32_t>(i);
                number = true;
            }
    }
    // A choice's names are part of what it expects; any other option's
    // text is first of all a whole number, whatever it says.
    if (!number && !tooWide && o.scale != OptionScale::Choice) {
        error = std::string(o.option) + " " + shownInMessage(text) + ": not a whole number (see --help)";
        return false;
    }
    if (!number || value < r.low || value > r.high) {
        error = std::string(o.option) + " " + shownInMessage(text) + ": expected " + rangeText(o) + " (see --help)";
        return false;
    }
    stored = o.scale == OptionScale::FrameMicroseconds ? smoothnessForFrameMicroseconds(value) : value;
    return true;
}

struct WindowNumberText {
    std::string_view digits;  // empty when the text is no number
    int base;
};

// Decimal or 0x hexadecimal digits, the whole text.
WindowNumberText windowNumberText(std::string_view text) {
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        text.remove_prefix(2);
        base = 16;
    }
    const bool digits = std::all_of(text.begin(), text.end(), [base](char c) {
        return base == 16 ? std::isxdigit(static_cast<unsigned char>(c)) : c >= '0' && c <= '9';
    });
    return {digits ? text : std::string_view(), base};
}

std::string firstRunText(const SettingOption& o) {
    const OptionRange r = optionRange(o);
    if (o.scale == OptionScale::Choice && r.fallback >= r.low && r.fallback <= r.high)
        return std::string(kAntiAliasNames[static_cast<size_t>(r.fallback - r.low)]);
    return std::to_string(r.fallback);
}

}  // namespace

WindowHandle parseXWindowId(std::string_view text) {
    const WindowNumberText number = windowNumberText(text);
    // X11 resource ids have 29 bits; anything wider names no window.
    uint32_t value = 0;
    const std::errc read =
        std::from_chars(number.digits.data(), number.digits.data() + number.digits.size(), value, number.base).ec;
    if (number.digits.empty() || read != std::errc() || value >= (1u << 29)) return 0;
    return value;
}

bool isHackCommandLine(const std::vector<std::string>& args) {
    if (args.empty()) return false;
    const std::string& first = args.front();
    return first == "--help" || first == "-h" || first == "--version" || isHackWord(hackWord(first));
}

Outcome parseHackCommand(const std::vector<std::string>& args, SaverCommand& command) {
    using Mode = SaverCommand::Mode;
    // A view of the argument itself: a conditional between "" and a string
    // would view a temporary copy.
    const std::string_view first = args.empty() ? std::string_view() : std::string_view(args.front());
    if (first == "--help" || first == "-h") {
        command = {Mode::Help, 0, {}};
        return {};
    }
    if (first == "--version") {
        command = {Mode::Version, 0, {}};
        return {};
    }
    SaverCommand read{Mode::Window, 0, {}};  // when only options are given
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& given = args[i];
        const std::string_view arg = hackWord(given);
        if (arg == "-root") {
            read.mode = Mode::Root;
            continue;
        }
        if (arg == "-window") {
            read.mode = Mode::Window;
            continue;
        }
        if (arg == "-fps") {
            read.showFrameRate = true;
            continue;
        }
        const XOption* xOption = findXOption(arg);
        if (xOption && !xOption->takesValue) continue;
        if (xOption) {
            if (i + 1 >= args.size()) return Outcome::failure(shownInMessage(given) + " needs a value (see --help)");
            if (arg == "-display") read.display = args[i + 1];
            ++i;
            continue;
        }
        const SettingOption* option = findOption(arg);
        if (arg != "-window-id" && !option)
            return Outcome::failure("unknown argument '" + shownInMessage(given) + "' (see --help)");
        if (i + 1 >= args.size()) return Outcome::failure(shownInMessage(given) + " needs a value (see --help)");
        const std::string& value = args[++i];
        if (!option) {
            if (windowNumberText(value).digits.empty())
                return Outcome::failure("-window-id " + shownInMessage(value) +
                                        ": expected an X11 window number, decimal or 0x hexadecimal");
            // A number no X11 window can have stays 0, and is then looked
            // up and missed like any other absent window.
            read.window = parseXWindowId(value);
            read.mode = Mode::WindowId;
            continue;
        }
        int32_t stored = 0;
        std::string error;
        if (!parseOptionValue(*option, value, stored, error)) return Outcome::failure(error);
        read.overrides.push_back({findFlightSetting(option->storedName), stored});
    }
    command = std::move(read);
    return {};
}

void applyOverrides(FlightParameters& flight, const std::vector<SettingOverride>& overrides) {
    for (const SettingOverride& o : overrides) o.setting->set(flight, o.value);
}

std::string hackUsage() {
    std::string text =
        "usage: lumara [/s | /p WINDOW | /l WINDOW | /c[:WINDOW]]\n"
        "       lumara [-root | -window-id WINDOW | -window] [-fps] [OPTION VALUE]...\n"
        "       lumara --idle MINUTES | --idle-enable MINUTES | --idle-disable\n"
        "       lumara --help | --version\n"
        "\n"
        "Modes of a desktop's screen-saver settings:\n"
        "  /s               full screen over every monitor; a key, a click or moving the mouse ends it\n"
        "  /p WINDOW        the preview picture in X11 window WINDOW (decimal), until it goes away;\n"
        "  /l WINDOW        the same\n"
        "  /c[:WINDOW]      the settings dialog, kept over X11 window WINDOW or the active window\n"
        "  nothing          the settings dialog on its own\n"
        "\n"
        "In a Wayland session (WAYLAND_DISPLAY set; SDL_VIDEODRIVER=x11 chooses X11 there):\n"
        "  /s covers every output; /c opens the dialog there and passes over WINDOW, an X11\n"
        "  window; /p and the daemon's modes need an X11 display (DISPLAY), else they end with 255.\n"
        "\n"
        "Starting on idle:\n"
        "  --idle MINUTES   stays with the session and runs /s once it has had no input for\n"
        "                   MINUTES (0.5 is half a minute), again after each run. The idle time\n"
        "                   comes from the first the session offers: Wayland's ext_idle_notifier_v1\n"
        "                   (KDE Plasma, sway 1.8 and later, Hyprland, labwc), KDE's\n"
        "                   org_kde_kwin_idle (sway 1.7), GNOME's org.gnome.Mutter.IdleMonitor,\n"
        "                   X11's MIT-SCREEN-SAVER. An idle inhibitor (a playing video) keeps the\n"
        "                   saver off. Ends at once with 0 where another watcher, or on X11\n"
        "                   another screen saver, has the session; with 1 where the session\n"
        "                   tells no idle time, or once it is gone\n"
        "  --idle-enable MINUTES  has that watcher started at every login (an autostart entry in\n"
        "                   ~/.config/autostart); in sway's config: exec lumara --idle 5\n"
        "  --idle-disable   removes that entry: no longer started at login\n"
        "\n"
        "Modes of a screen-saver daemon such as xscreensaver, which owns input and locking:\n"
        "input never ends these; the window going away does (exit 0), and SIGTERM, after\n"
        "which the saver ends by that signal. A window larger than " +
        std::to_string(kLargestFrameSide) + "x" + std::to_string(kLargestFrameSide) +
        " (which no\n"
        "screen shows at once; a frame that size is 1 GB) is not drawn into: one line, and\n"
        "255, also when the window grows beyond it while the saver runs.\n"
        "  -root            into the window XSCREENSAVER_WINDOW names, else the root window\n"
        "  -window-id ID    into X11 window ID (decimal or 0x hexadecimal)\n"
        "  -window          in a resizable window of its own, to try settings out\n"
        "                   (also when only options are given)\n"
        "  -fps             draws the frame rate into the bottom left corner\n"
        "  -display NAME    the X display to draw on; -visual, -install and -geometry are\n"
        "                   accepted and passed over\n"
        "These words and the options below may also be written with two dashes (--root).\n"
        "\n"
        "Options of those modes, for this run only (the stored settings stay as they are);\n"
        "in brackets the value of a first run. An option left out takes its value from\n"
        "Lumara's own settings (lumara /c), as does a slider of xscreensaver's settings\n"
        "left at its default, which passes nothing:\n";
    for (const SettingOption& o : kSettingOptions) {
        std::string line = "  " + std::string(o.option) + (o.scale == OptionScale::Choice ? " MODE" : " N");
        line.resize(std::max<size_t>(line.size() + 1, 19), ' ');
        line += std::string(o.label) + ": " + rangeText(o);
        if (o.scale == OptionScale::FrameMicroseconds) line += " microseconds a frame";
        text += line + " [" + firstRunText(o) + "]\n";
    }
    text += "  -delay N sets Smoothness to 100 - N/1000 (rounded): a frame every N/1000 ms,\n"
            "  at most 100 frames a second.\n\n";
    return text;
}
