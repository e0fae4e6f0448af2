#pragma once
#include <string>
#include <string_view>

// `text` as an error line shows it: whole when short, else its start (cut at
// a UTF-8 character boundary), "..." and its length, so a huge argument
// still gives a readable line.
inline std::string shownInMessage(std::string_view text) {
    constexpr size_t kShown = 60;
    if (text.size() <= kShown) return std::string(text);
    size_t cut = kShown;
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;  // inside a UTF-8 sequence
    return std::string(text.substr(0, cut)) + "... (" + std::to_string(text.size()) + " bytes)";
}
