#include "platform/linux/help/popup_font.h"

#include <charconv>
#include <utility>
#include <vector>

namespace {

std::string_view trimmed(std::string_view text) {
    const size_t start = text.find_first_not_of(" \t");
    if (start == std::string_view::npos) return {};
    return text.substr(start, text.find_last_not_of(" \t") - start + 1);
}

// The field's number into `value`, 0 for an empty field; false when it is
// not a number up to `max`.
bool number(std::string_view field, int max, int& value) {
    if (field.empty()) {
        value = 0;
        return true;
    }
    int parsed = 0;
    const auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), parsed);
    if (error != std::errc() || end != field.data() + field.size() || parsed < 0 || parsed > max) return false;
    value = parsed;
    return true;
}

bool equalsNoCase(std::string_view a, std::string_view upper) {
    if (a.size() != upper.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if ((a[i] >= 'a' && a[i] <= 'z' ? a[i] - 'a' + 'A' : a[i]) != upper[i]) return false;
    return true;
}

}  // namespace

bool parsePopupFont(std::string_view line, PopupFont& font) {
    std::vector<std::string_view> fields;
    for (size_t start = 0;;) {
        const size_t comma = line.find(',', start);
        fields.push_back(trimmed(line.substr(start, comma - start)));
        if (comma == std::string_view::npos) break;
        start = comma + 1;
    }
    if (fields.size() > 4 || fields[0].empty()) return false;
    PopupFont parsed{std::string(fields[0])};
    constexpr int kMaxPointSize = 999;
    constexpr int kMaxCharacterSet = 255;
    int characterSet = 0;
    if (!number(fields.size() > 1 ? fields[1] : "", kMaxPointSize, parsed.pointSize) ||
        !number(fields.size() > 2 ? fields[2] : "", kMaxCharacterSet, characterSet))
        return false;
    std::string_view styles = fields.size() > 3 ? fields[3] : "";
    while (!(styles = trimmed(styles)).empty()) {
        const std::string_view word = styles.substr(0, styles.find_first_of(" \t"));
        styles.remove_prefix(word.size());
        if (equalsNoCase(word, "BOLD"))
            parsed.bold = true;
        else if (equalsNoCase(word, "ITALIC"))
            parsed.italic = true;
        else if (equalsNoCase(word, "UNDERLINE"))
            parsed.underline = true;
        else
            return false;
    }
    font = std::move(parsed);
    return true;
}
