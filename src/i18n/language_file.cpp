#include "i18n/language_file.h"

#include <cstdint>
#include <filesystem>
#include <fstream>

#include "i18n/text_encoding.h"

namespace {

// Reads lines as a text-mode stream with a fixed line buffer does: CR LF
// becomes a line break, a line over the limit stops all further reading.
class LineReader {
public:
    explicit LineReader(std::istream& in) : in_(in) {}

    // The next line without its break. Sets atEnd() when the read reached
    // the end of the data.
    std::string next() {
        std::string line;
        if (stuck_) return line;
        for (;;) {
            const int c = in_.get();
            if (c == std::char_traits<char>::eof()) {
                atEnd_ = true;
                break;
            }
            if (c == '\n') break;
            if (c == '\r' && in_.peek() == '\n') continue;
            if (line.size() == kLanguageLineLimit) {
                stuck_ = true;
                break;
            }
            line.push_back(static_cast<char>(c));
        }
        if (!isValidUtf8(line)) utf8_ = false;
        return line;
    }

    bool atEnd() const { return atEnd_; }
    bool allUtf8() const { return utf8_; }

private:
    std::istream& in_;
    bool atEnd_ = false;
    bool stuck_ = false;
    bool utf8_ = true;
};

// Leading white space, an optional sign, then digits; no digits gives 0.
// False for ids outside what the program can look up.
bool parseId(const std::string& line, size_t end, uint32_t& id) {
    size_t i = 0;
    while (i < end && (line[i] == ' ' || (line[i] >= '\t' && line[i] <= '\r'))) ++i;
    bool negative = false;
    if (i < end && (line[i] == '+' || line[i] == '-')) negative = line[i++] == '-';
    uint64_t value = 0;
    for (; i < end && line[i] >= '0' && line[i] <= '9'; ++i) {
        value = value * 10 + static_cast<uint64_t>(line[i] - '0');
        if (value >= kLanguageIdLimit) return false;
    }
    if (negative && value != 0) return false;
    id = static_cast<uint32_t>(value);
    return true;
}

void convertFromWindows1252(LanguageTable& table) {
    table.description = windows1252ToUtf8(table.description);
    table.popupFont = windows1252ToUtf8(table.popupFont);
    for (std::string& text : table.texts)
        if (!text.empty()) text = windows1252ToUtf8(text);
}

Outcome readEntries(LanguageTable& table, LineReader& lines) {
    table.description = lines.next();
    table.popupFont = lines.atEnd() ? std::string() : lines.next();
    while (!lines.atEnd()) {
        const std::string line = lines.next();
        // One line break after the last entry is what editors write; it is
        // not an empty line between entries.
        if (line.empty() && lines.atEnd()) break;
        const size_t eq = line.find('=');
        if (eq == std::string::npos) return Outcome::failure(kLanguageFileNoEntry);
        uint32_t id = 0;
        if (!parseId(line, eq, id)) continue;
        if (Outcome stored = StoreText(table, id, line.substr(eq + 1)); !stored.ok()) return stored;
    }
    return {};
}

}  // namespace

Outcome ReadLanguageText(LanguageTable& table, std::istream& in) {
    table.texts.clear();
    table.texts.shrink_to_fit();
    LineReader lines(in);
    Outcome read = readEntries(table, lines);
    if (kInterfaceTextIsUtf8 && !lines.allUtf8()) convertFromWindows1252(table);
    return read;
}

namespace {

bool openFile(const std::string& path, std::ifstream& in) {
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) return false;
    in.open(path, std::ios::binary);
    return static_cast<bool>(in);
}

}  // namespace

Outcome LoadLanguageFile(LanguageTable& table) {
    std::ifstream in;
    if (!openFile(table.path, in)) return Outcome::failure(kLanguageFileCannotOpen);
    return ReadLanguageText(table, in);
}

std::string ReadLanguageName(const std::string& path) {
    std::ifstream in;
    if (!openFile(path, in)) return {};
    LineReader lines(in);
    std::string name = lines.next();
    if (kInterfaceTextIsUtf8 && !lines.allUtf8()) name = windows1252ToUtf8(name);
    return name;
}
