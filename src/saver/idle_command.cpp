#include "saver/idle_command.h"

#include <cstdint>
#include <string_view>

#include "base/message_text.h"

namespace {

constexpr uint64_t kMinuteMs = 60'000;
constexpr uint64_t kShortestMs = 1'000, kLongestMs = 24 * 60 * kMinuteMs;

// Minutes as decimal digits with an optional fraction ("5", "0.05"), in
// whole milliseconds, rounded; false for any other text or a time out of range.
bool parseMinutes(std::string_view text, uint32_t& milliseconds) {
    const size_t point = text.find('.');
    const std::string_view whole = text.substr(0, point);
    const std::string_view fraction = point == std::string_view::npos ? std::string_view() : text.substr(point + 1);
    const auto digits = [](std::string_view part, size_t most) {
        if (part.size() > most) return false;
        for (char c : part)
            if (c < '0' || c > '9') return false;
        return true;
    };
    if (whole.empty() && fraction.empty()) return false;
    if (!digits(whole, 5) || !digits(fraction, 6) || (point != std::string_view::npos && fraction.empty()))
        return false;
    uint64_t ms = 0, scale = 1, part = 0;
    for (char c : whole) ms = ms * 10 + static_cast<uint64_t>(c - '0');
    ms *= kMinuteMs;
    for (char c : fraction) {
        part = part * 10 + static_cast<uint64_t>(c - '0');
        scale *= 10;
    }
    ms += (part * kMinuteMs + scale / 2) / scale;
    if (ms < kShortestMs || ms > kLongestMs) return false;
    milliseconds = static_cast<uint32_t>(ms);
    return true;
}

}  // namespace

bool isIdleCommandLine(const std::vector<std::string>& args) {
    return !args.empty() && (args[0] == "--idle" || args[0] == "--idle-enable" || args[0] == "--idle-disable");
}

Outcome parseIdleCommand(const std::vector<std::string>& args, SaverCommand& command) {
    using Mode = SaverCommand::Mode;
    const std::string& word = args.front();
    const bool takesMinutes = word != "--idle-disable";
    const size_t expected = takesMinutes ? 2 : 1;
    if (args.size() < expected) return Outcome::failure(word + " needs the minutes of idle time (see --help)");
    if (args.size() > expected)
        return Outcome::failure("unknown argument '" + shownInMessage(args[expected]) + "' after " + word +
                                " (see --help)");
    SaverCommand read{takesMinutes ? (word == "--idle" ? Mode::IdleWatch : Mode::IdleEnable) : Mode::IdleDisable, 0,
                      {}};
    if (takesMinutes && !parseMinutes(args[1], read.idleMilliseconds))
        return Outcome::failure(word + " " + shownInMessage(args[1]) +
                                ": expected minutes from a second to a day, such as 5 or 0.5 (see --help)");
    command = std::move(read);
    return {};
}
