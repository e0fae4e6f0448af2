#pragma once
#include <charconv>
#include <cstdint>
#include <string_view>

// A whole decimal number of 32 bits, with an optional sign, and nothing
// else: no blanks, no fraction, no digits beyond the range. The command
// lines of the saver and of lumara-render read their numbers with it.
inline bool parseWholeNumber(std::string_view text, int32_t& out) {
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    if (text.empty()) return false;
    int32_t value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size()) return false;
    out = value;
    return true;
}
