// Writes the program's built-in string table as a Windows resource script
// fragment, so the Windows resources carry exactly the texts the Linux
// build compiles in. The texts are written as wide strings with every
// character beyond ASCII escaped, which makes the resource independent of
// the resource compiler's code page; LoadStringA then gives them in the
// system's ANSI code page.
//
// usage: string-table-rc OUT.rc
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

#include "ui/string_table.h"

namespace {

// Decodes one UTF-8 sequence at `i`; returns the code point and advances.
// The table is the program's own text, so malformed input is a build error.
bool nextCodePoint(std::string_view text, size_t& i, uint32_t& cp) {
    const auto byte = [&](size_t k) { return static_cast<uint8_t>(text[k]); };
    const uint8_t lead = byte(i);
    const int length = lead < 0x80 ? 1 : (lead >> 5) == 6 ? 2 : (lead >> 4) == 14 ? 3 : 0;
    if (length == 0 || i + length > text.size()) return false;
    cp = length == 1 ? lead : length == 2 ? (lead & 0x1Fu) : (lead & 0x0Fu);
    for (int k = 1; k < length; ++k) {
        if ((byte(i + k) >> 6) != 2) return false;
        cp = cp << 6 | (byte(i + k) & 0x3Fu);
    }
    i += length;
    return true;
}

bool rcWideString(std::string_view text, std::string& out) {
    out = "L\"";
    for (size_t i = 0; i < text.size();) {
        uint32_t cp = 0;
        if (!nextCodePoint(text, i, cp)) return false;
        if (cp == '"') out += "\"\"";
        else if (cp == '\\') out += "\\\\";
        else if (cp >= 0x20 && cp < 0x7F) out += static_cast<char>(cp);
        else {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%04X", static_cast<unsigned>(cp));
            out += escaped;
        }
    }
    out += '"';
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: string-table-rc OUT.rc\n", stderr);
        return 2;
    }
    std::string script = "STRINGTABLE\nBEGIN\n";
    for (const StringTableEntry& entry : builtInStringTable()) {
        std::string text;
        if (!rcWideString(entry.text, text)) {
            std::fprintf(stderr, "string-table-rc: text %u is not UTF-8\n", static_cast<unsigned>(entry.id));
            return 1;
        }
        script += "  " + std::to_string(entry.id) + ", " + text + "\n";
    }
    script += "END\n";
    std::FILE* out = std::fopen(argv[1], "wb");
    if (!out) {
        std::perror(argv[1]);
        return 1;
    }
    const bool written = std::fwrite(script.data(), 1, script.size(), out) == script.size();
    return std::fclose(out) == 0 && written ? 0 : 1;
}
