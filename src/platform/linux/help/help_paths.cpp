#include "platform/linux/help/help_paths.h"

#include <algorithm>
#include <cctype>
#include <utility>

namespace {

constexpr size_t kMaxPathBytes = 512;  // chmlib's own limit
constexpr size_t kMaxNameBytes = 255;  // a file name on Linux

bool isSafeName(std::string_view name) {
    if (name.empty() || name.size() > kMaxNameBytes || name.front() == '.') return false;
    return std::none_of(name.begin(), name.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte < 0x20 || byte == 0x7F || std::string_view("\\:*?\"<>|/").find(c) != std::string_view::npos;
    });
}

bool isAnchor(std::string_view anchor) {
    return std::all_of(anchor.begin(), anchor.end(), [](char c) {
        return std::isalnum(static_cast<unsigned char>(c)) || c == '.' || c == '_' || c == ':' || c == '-';
    });
}

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// False for a "%" not followed by two hex digits.
bool percentDecoded(std::string_view text, std::string& decoded) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            out += text[i];
            continue;
        }
        if (i + 2 >= text.size()) return false;
        const int high = hexValue(text[i + 1]);
        const int low = hexValue(text[i + 2]);
        if (high < 0 || low < 0) return false;
        out += static_cast<char>(high * 16 + low);
        i += 2;
    }
    decoded = std::move(out);
    return true;
}

bool startsWithNoCase(std::string_view text, size_t at, std::string_view word) {
    if (text.size() - at < word.size()) return false;
    for (size_t i = 0; i < word.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(text[at + i])) != word[i]) return false;
    return true;
}

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f'; }

}  // namespace

bool isSafeArchivePath(std::string_view path) {
    if (path.size() < 2 || path.size() > kMaxPathBytes || path.front() != '/') return false;
    size_t start = 1;
    for (;;) {
        const size_t slash = path.find('/', start);
        const std::string_view name = path.substr(start, slash == std::string_view::npos ? slash : slash - start);
        if (!isSafeName(name)) return false;
        if (slash == std::string_view::npos) return true;
        start = slash + 1;
    }
}

bool parseHelpTopic(std::string_view topic, HelpTopic& parsed) {
    if (topic.starts_with("::")) topic.remove_prefix(2);
    const size_t hash = topic.find('#');
    HelpTopic found{std::string(topic.substr(0, hash)), {}};
    if (hash != std::string_view::npos) found.anchor = topic.substr(hash + 1);
    if (!isSafeArchivePath(found.page) || !isAnchor(found.anchor)) return false;
    parsed = std::move(found);
    return true;
}

std::vector<std::string> pageLinks(std::string_view html) {
    std::vector<std::string> links;
    for (size_t at = 1; at < html.size(); ++at) {
        if (!isSpace(html[at - 1])) continue;
        size_t pos;
        if (startsWithNoCase(html, at, "href"))
            pos = at + 4;
        else if (startsWithNoCase(html, at, "src"))
            pos = at + 3;
        else
            continue;
        while (pos < html.size() && isSpace(html[pos])) ++pos;
        if (pos >= html.size() || html[pos] != '=') continue;
        ++pos;
        while (pos < html.size() && isSpace(html[pos])) ++pos;
        if (pos >= html.size()) break;
        size_t end;
        if (html[pos] == '"' || html[pos] == '\'') {
            end = html.find(html[pos], pos + 1);
            if (end == std::string_view::npos) break;
            ++pos;
        } else {
            end = pos;
            while (end < html.size() && !isSpace(html[end]) && html[end] != '>') ++end;
        }
        links.emplace_back(html.substr(pos, end - pos));
        at = end;
    }
    return links;
}

bool resolveLink(std::string_view page, std::string_view link, std::string& path) {
    while (!link.empty() && isSpace(link.front())) link.remove_prefix(1);
    while (!link.empty() && isSpace(link.back())) link.remove_suffix(1);
    link = link.substr(0, link.find_first_of("#?"));
    const size_t colon = link.find(':');
    if (link.empty() || link.front() == '/' || link.find('\\') != std::string_view::npos ||
        (colon != std::string_view::npos && colon < link.find('/')))
        return false;
    std::vector<std::string> names;
    const size_t pageFolder = page.rfind('/');
    for (size_t start = 1; pageFolder != std::string_view::npos && start <= pageFolder;) {
        const size_t slash = page.find('/', start);
        names.emplace_back(page.substr(start, slash - start));
        start = slash + 1;
    }
    for (size_t start = 0; start <= link.size();) {
        const size_t slash = std::min(link.find('/', start), link.size());
        std::string name;
        if (!percentDecoded(link.substr(start, slash - start), name)) return false;
        start = slash + 1;
        if (name.empty() || name == ".") continue;
        if (name == "..") {
            if (names.empty()) return false;
            names.pop_back();
            continue;
        }
        if (!isSafeName(name)) return false;
        names.push_back(std::move(name));
    }
    std::string resolved;
    for (const std::string& name : names) resolved += "/" + name;
    if (!isSafeArchivePath(resolved)) return false;
    path = std::move(resolved);
    return true;
}
