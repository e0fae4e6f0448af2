#include "platform/linux/help/popup_font.h"

#include <charconv>
#include <vector>

namespace {

std::string_view trimmed(std::string_view text) {
    const size_t start = text.find_first_not_of(" \t");
    if (start == std::string_view::npos) return {};
    return text.substr(start, text.find_last_not_of(" \t") - start + 1);
}

// An empty field gives `empty`; nothing when it is not a number up to `max`.
std::optional<int> number(std::string_view field, int max, int empty) {
    if (field.empty()) return empty;
    int value = 0;
    const auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), value);
    if (error != std::errc() || end != field.data() + field.size() || value < 0 || value > max) return std::nullopt;
    return value;
}

bool equalsNoCase(std::string_view a, std::string_view upper) {
    if (a.size() != upper.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if ((a[i] >= 'a' && a[i] <= 'z' ? a[i] - 'a' + 'A' : a[i]) != upper[i]) return false;
    return true;
}

}  // namespace

std::optional<PopupFont> parsePopupFont(std::string_view line) {
    std::vector<std::string_view> fields;
    for (size_t start = 0;;) {
        const size_t comma = line.find(',', start);
        fields.push_back(trimmed(line.substr(start, comma - start)));
        if (comma == std::string_view::npos) break;
        start = comma + 1;
    }
    if (fields.size() > 4 || fields[0].empty()) return std::nullopt;
    PopupFont font{std::string(fields[0])};
    constexpr int kMaxPointSize = 999;
    constexpr int kMaxCharacterSet = 255;
    const std::optional<int> size = number(fields.size() > 1 ? fields[1] : "", kMaxPointSize, 0);
    if (!size || !number(fields.size() > 2 ? fields[2] : "", kMaxCharacterSet, 0)) return std::nullopt;
    font.pointSize = *size;
    std::string_view styles = fields.size() > 3 ? fields[3] : "";
    while (!(styles = trimmed(styles)).empty()) {
        const std::string_view word = styles.substr(0, styles.find_first_of(" \t"));
        styles.remove_prefix(word.size());
        if (equalsNoCase(word, "BOLD"))
            font.bold = true;
        else if (equalsNoCase(word, "ITALIC"))
            font.italic = true;
        else if (equalsNoCase(word, "UNDERLINE"))
            font.underline = true;
        else
            return std::nullopt;
    }
    return font;
}
