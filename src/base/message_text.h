#pragma once
#include <string>
#include <string_view>

// `text` as an error line shows it. Printable ASCII stays as it is; every
// other byte is written as \xNN, so an argument's control and escape bytes
// never reach the terminal. Whole when short, else its start (cut at a UTF-8
// character boundary), "..." and its length, so a huge argument still gives
// a readable line.
inline std::string shownInMessage(std::string_view text) {
    constexpr size_t kShown = 60;
    size_t cut = text.size();
    if (cut > kShown) {
        cut = kShown;
        while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;  // inside a UTF-8 sequence
    }
    std::string shown;
    for (const char c : text.substr(0, cut)) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte < 0x7F) {
            shown += c;
            continue;
        }
        constexpr std::string_view kHex = "0123456789abcdef";
        shown += "\\x";
        shown += kHex[byte >> 4];
        shown += kHex[byte & 0x0F];
    }
    if (cut < text.size()) shown += "... (" + std::to_string(text.size()) + " bytes)";
    return shown;
}
