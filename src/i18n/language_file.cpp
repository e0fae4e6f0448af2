#include "i18n/language_file.h"

#include <cstdint>

#include "i18n/text_encoding.h"

namespace {

// Reads lines as a text-mode stream with a fixed line buffer does: CR LF
// becomes a line break, a line over the limit stops all further reading.
class LineReader {
public:
    explicit LineReader(std::string_view text) : text_(text) {}

    // The next line without its break. Sets atEnd() when the read reached
    // the end of the data.
    std::string next() {
        std::string line;
        if (stuck_) return line;
        for (;;) {
            if (at_ == text_.size()) {
                atEnd_ = true;
                break;
            }
            const char c = text_[at_++];
            if (c == '\n') break;
            if (c == '\r' && at_ < text_.size() && text_[at_] == '\n') continue;
            if (line.size() == kLanguageLineLimit) {
                stuck_ = true;
                break;
            }
            line.push_back(c);
        }
        if (!isValidUtf8(line)) utf8_ = false;
        return line;
    }

    bool atEnd() const { return atEnd_; }
    bool allUtf8() const { return utf8_; }

private:
    std::string_view text_;
    size_t at_ = 0;
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

Outcome ReadLanguageText(LanguageTable& table, std::string_view text) {
    table.texts.clear();
    table.texts.shrink_to_fit();
    LineReader lines(text);
    Outcome read = readEntries(table, lines);
    if (kInterfaceTextIsUtf8 && !lines.allUtf8()) convertFromWindows1252(table);
    return read;
}

Outcome LoadLanguageFile(LanguageTable& table, FileReader& files) {
    std::string text;
    if (files.readFile(table.path, kLanguageFileLimit, text) != FileReadResult::Read)
        return Outcome::failure(kLanguageFileCannotOpen);
    return ReadLanguageText(table, text);
}

std::string ReadLanguageName(const std::string& path, FileReader& files) {
    std::string text;
    if (files.readFile(path, kLanguageFileLimit, text) != FileReadResult::Read) return {};
    LineReader lines(text);
    std::string name = lines.next();
    if (kInterfaceTextIsUtf8 && !lines.allUtf8()) name = windows1252ToUtf8(name);
    return name;
}
