#include "platform/linux/help/popup_texts.h"

#include <charconv>
#include <utility>

#include "i18n/text_encoding.h"

namespace {

bool isBlank(std::string_view line) { return line.find_first_not_of(" \t") == std::string_view::npos; }

bool isTopicLine(std::string_view line) {
    return line.starts_with(".topic") && (line.size() == 6 || line[6] == ' ' || line[6] == '\t');
}

// Whether a topic line names topic `topic` by its number (a symbol names none).
bool namesTopic(std::string_view line, uint32_t topic) {
    line.remove_prefix(6);
    const size_t start = line.find_first_not_of(" \t");
    if (start == std::string_view::npos) return false;
    uint32_t number = 0;
    const auto [end, error] = std::from_chars(line.data() + start, line.data() + line.size(), number);
    return error == std::errc() &&
           isBlank(std::string_view(end, static_cast<size_t>(line.data() + line.size() - end))) && number == topic;
}

}  // namespace

bool findPopupText(std::string_view contextHelp, uint32_t topic, std::string& text) {
    if (contextHelp.starts_with("\xEF\xBB\xBF")) contextHelp.remove_prefix(3);
    std::string collected;
    bool inTopic = false;
    size_t blankLines = 0;
    for (size_t start = 0; start < contextHelp.size();) {
        const size_t newline = contextHelp.find('\n', start);
        std::string_view line = contextHelp.substr(start, newline - start);
        start = newline == std::string_view::npos ? contextHelp.size() : newline + 1;
        if (line.ends_with('\r')) line.remove_suffix(1);
        if (isTopicLine(line)) {
            if (inTopic) break;
            inTopic = namesTopic(line, topic);
            continue;
        }
        if (!inTopic) continue;
        if (isBlank(line)) {
            ++blankLines;
            continue;
        }
        if (!collected.empty()) collected.append(blankLines + 1, '\n');
        blankLines = 0;
        collected += line;
    }
    if (collected.empty()) return false;
    text = isValidUtf8(contextHelp) ? std::move(collected) : windows1252ToUtf8(collected);
    return true;
}

bool loadPopupText(const std::string& helpFile, uint32_t topic, std::string& text,
                   const ChmReaderProcess::Limits& limits) {
    const std::unique_ptr<ChmReaderProcess> reader = ChmReaderProcess::start(helpFile, limits);
    if (!reader) return false;
    std::string contextHelp;
    if (reader->read("/ContextHelp.txt", contextHelp) != ChmRead::Read) return false;
    return findPopupText(contextHelp, topic, text);
}
