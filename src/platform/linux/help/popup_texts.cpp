#include "platform/linux/help/popup_texts.h"

#include <charconv>

#include "i18n/text_encoding.h"

namespace {

bool isBlank(std::string_view line) { return line.find_first_not_of(" \t") == std::string_view::npos; }

bool isTopicLine(std::string_view line) {
    return line.starts_with(".topic") && (line.size() == 6 || line[6] == ' ' || line[6] == '\t');
}

// The number of a topic line; nothing for a symbol.
std::optional<uint32_t> topicNumber(std::string_view line) {
    line.remove_prefix(6);
    const size_t start = line.find_first_not_of(" \t");
    if (start == std::string_view::npos) return std::nullopt;
    uint32_t number = 0;
    const auto [end, error] = std::from_chars(line.data() + start, line.data() + line.size(), number);
    if (error != std::errc() || !isBlank(std::string_view(end, static_cast<size_t>(line.data() + line.size() - end))))
        return std::nullopt;
    return number;
}

}  // namespace

std::optional<std::string> findPopupText(std::string_view contextHelp, uint32_t topic) {
    if (contextHelp.starts_with("\xEF\xBB\xBF")) contextHelp.remove_prefix(3);
    std::string text;
    bool inTopic = false;
    size_t blankLines = 0;
    for (size_t start = 0; start < contextHelp.size();) {
        const size_t newline = contextHelp.find('\n', start);
        std::string_view line = contextHelp.substr(start, newline - start);
        start = newline == std::string_view::npos ? contextHelp.size() : newline + 1;
        if (line.ends_with('\r')) line.remove_suffix(1);
        if (isTopicLine(line)) {
            if (inTopic) break;
            inTopic = topicNumber(line) == topic;
            continue;
        }
        if (!inTopic) continue;
        if (isBlank(line)) {
            ++blankLines;
            continue;
        }
        if (!text.empty()) text.append(blankLines + 1, '\n');
        blankLines = 0;
        text += line;
    }
    if (text.empty()) return std::nullopt;
    return isValidUtf8(contextHelp) ? text : windows1252ToUtf8(text);
}

std::optional<std::string> loadPopupText(const std::string& helpFile, uint32_t topic,
                                         const ChmReaderProcess::Limits& limits) {
    const std::unique_ptr<ChmReaderProcess> reader = ChmReaderProcess::start(helpFile, limits);
    if (!reader) return std::nullopt;
    std::string contextHelp;
    if (reader->read("/ContextHelp.txt", contextHelp) != ChmRead::Read) return std::nullopt;
    return findPopupText(contextHelp, topic);
}
