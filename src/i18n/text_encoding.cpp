#include "i18n/text_encoding.h"

#include <cstdint>

namespace {

// Code points of Windows-1252's 0x80..0x9F; the rest of the upper half
// equals Latin-1.
constexpr uint16_t kHigh[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

}  // namespace

bool isValidUtf8(std::string_view bytes) {
    size_t i = 0;
    while (i < bytes.size()) {
        const auto c = static_cast<uint8_t>(bytes[i]);
        if (c < 0x80) {
            ++i;
            continue;
        }
        size_t length;
        uint32_t min;
        uint32_t cp;
        if ((c & 0xE0) == 0xC0) length = 2, min = 0x80, cp = c & 0x1F;
        else if ((c & 0xF0) == 0xE0) length = 3, min = 0x800, cp = c & 0x0F;
        else if ((c & 0xF8) == 0xF0) length = 4, min = 0x10000, cp = c & 0x07;
        else return false;
        if (bytes.size() - i < length) return false;
        for (size_t k = 1; k < length; ++k) {
            const auto next = static_cast<uint8_t>(bytes[i + k]);
            if ((next & 0xC0) != 0x80) return false;
            cp = (cp << 6) | (next & 0x3F);
        }
        if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
        i += length;
    }
    return true;
}

std::string windows1252ToUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (const char ch : bytes) {
        const auto c = static_cast<uint8_t>(ch);
        const uint32_t cp = (c >= 0x80 && c < 0xA0) ? kHigh[c - 0x80] : c;
        if (cp < 0x80) {
            out.push_back(static_cast<char>(cp));
        } else if (cp < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        }
    }
    return out;
}

std::string shownAsUtf8(std::string_view text) {
    return isValidUtf8(text) ? std::string(text) : windows1252ToUtf8(text);
}

std::string utf8ToWindows1252(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        const auto c = static_cast<uint8_t>(text[i]);
        const size_t length = c < 0x80 ? 1 : (c & 0xE0) == 0xC0 ? 2 : (c & 0xF0) == 0xE0 ? 3 : 4;
        uint32_t cp = length == 1 ? c : length == 2 ? (c & 0x1Fu) : length == 3 ? (c & 0x0Fu) : (c & 0x07u);
        for (size_t k = 1; k < length && i + k < text.size(); ++k)
            cp = (cp << 6) | (static_cast<uint8_t>(text[i + k]) & 0x3Fu);
        i += length;
        char byte = '?';
        if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) byte = static_cast<char>(cp);
        for (uint32_t k = 0; k < 32; ++k)
            if (kHigh[k] == cp) byte = static_cast<char>(0x80 + k);
        out.push_back(byte);
    }
    return out;
}

size_t interfaceTextCut(std::string_view text, size_t limit) {
    if (limit >= text.size()) return text.size();
    if (!kInterfaceTextIsUtf8) return limit;
    size_t cut = limit;
    // Step back over continuation bytes to the start of the cut character.
    while (cut > 0 && (static_cast<uint8_t>(text[cut]) & 0xC0) == 0x80) --cut;
    return cut;
}
