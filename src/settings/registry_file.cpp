#include "settings/registry_file.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "base/byte_order.h"

namespace {

char lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

std::string lowered(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = lower(c);
    return out;
}

bool isBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view trim(std::string_view s) {
    while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
    return s;
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    c = lower(c);
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// Splits the text into lines, dropping the CR of CR LF.
std::vector<std::string_view> splitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const size_t nl = text.find('\n');
        std::string_view line = text.substr(0, nl);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines.push_back(line);
        if (nl == std::string_view::npos) break;
        text.remove_prefix(nl + 1);
    }
    return lines;
}

// Reads a quoted string at the start of `s` (which begins with "), undoing
// the \\ and \" escapes; other backslashes are kept as they are.
bool parseQuoted(std::string_view& s, std::string& out) {
    out.clear();
    for (size_t i = 1; i < s.size(); ++i) {
        const char c = s[i];
        if (c == '"') {
            s.remove_prefix(i + 1);
            return true;
        }
        if (c == '\\' && i + 1 < s.size() && (s[i + 1] == '\\' || s[i + 1] == '"')) ++i;
        out.push_back(s[i]);
    }
    return false;
}

// Parses "xx,xx,..." possibly continued over following lines ending in "\".
bool parseHexBytes(std::string_view s, const std::vector<std::string_view>& lines, size_t& lineIndex,
                   std::vector<uint8_t>& out) {
    for (;;) {
        s = trim(s);
        if (s.empty()) return true;
        if (s == "\\") {
            if (++lineIndex >= lines.size()) return false;
            s = lines[lineIndex];
            continue;
        }
        int value = hexDigit(s[0]);
        if (value < 0) return false;
        size_t used = 1;
        if (s.size() > 1 && hexDigit(s[1]) >= 0) value = value * 16 + hexDigit(s[1]), used = 2;
        out.push_back(static_cast<uint8_t>(value));
        s = trim(s.substr(used));
        if (s.empty()) return true;
        if (s[0] == ',') s.remove_prefix(1);
        else if (s != "\\") return false;
    }
}

bool parseValueData(std::string_view s, const std::vector<std::string_view>& lines, size_t& lineIndex,
                    RegistryValue& value) {
    if (!s.empty() && s[0] == '"') {
        std::string text;
        if (!parseQuoted(s, text) || !trim(s).empty()) return false;
        value.type = ValueType::String;
        value.data.assign(text.begin(), text.end());
        value.data.push_back(0);
        return true;
    }
    if (s.substr(0, 6) == "dword:") {
        s = trim(s.substr(6));
        if (s.empty() || s.size() > 8) return false;
        uint32_t number = 0;
        for (const char c : s) {
            if (hexDigit(c) < 0) return false;
            number = number * 16 + static_cast<uint32_t>(hexDigit(c));
        }
        value.type = ValueType::Dword;
        value.data.resize(4);
        writeLittleEndian(value.data.data(), number);
        return true;
    }
    if (s.substr(0, 4) == "hex:") {
        value.type = ValueType::Binary;
        return parseHexBytes(s.substr(4), lines, lineIndex, value.data);
    }
    if (s.substr(0, 4) == "hex(") {
        const size_t close = s.find("):");
        if (close == std::string_view::npos || close == 4 || close > 12) return false;
        uint32_t type = 0;
        for (const char c : s.substr(4, close - 4)) {
            if (hexDigit(c) < 0) return false;
            type = type * 16 + static_cast<uint32_t>(hexDigit(c));
        }
        value.type = static_cast<ValueType>(type);
        return parseHexBytes(s.substr(close + 2), lines, lineIndex, value.data);
    }
    return false;
}

// A value line; `deletion` tells a "name"=- line, which names the value only.
bool parseValueLine(std::string_view s, const std::vector<std::string_view>& lines, size_t& lineIndex,
                    RegistryValue& value, bool& deletion) {
    if (s[0] == '@') {
        value.name.clear();
        s.remove_prefix(1);
    } else if (s[0] != '"' || !parseQuoted(s, value.name)) {
        return false;
    }
    s = trim(s);
    if (s.empty() || s[0] != '=') return false;
    s = trim(s.substr(1));
    deletion = s == "-";
    return deletion || parseValueData(s, lines, lineIndex, value);
}

void appendLine(std::string& out, std::string_view line) {
    out += line;
    out += "\r\n";
}

void appendQuoted(std::string& out, std::string_view text) {
    out.push_back('"');
    for (const char c : text) {
        if (c == '\\' || c == '"') out.push_back('\\');
        out.push_back(c);
    }
    out.push_back('"');
}

// A string value can be written quoted when it is one line of text ending
// in its only NUL; anything else is kept byte for byte as hex(1).
bool isQuotableString(const std::vector<uint8_t>& data) {
    if (data.empty() || data.back() != 0) return false;
    for (size_t i = 0; i + 1 < data.size(); ++i)
        if (data[i] == 0 || data[i] == '\r' || data[i] == '\n') return false;
    return true;
}

void appendHex(std::string& out, const std::vector<uint8_t>& data, size_t lineStart) {
    static constexpr char kDigits[] = "0123456789abcdef";
    // Lines are wrapped near 80 columns, as export files are.
    constexpr size_t kWrapColumn = 76;
    for (size_t i = 0; i < data.size(); ++i) {
        out.push_back(kDigits[data[i] >> 4]);
        out.push_back(kDigits[data[i] & 15]);
        if (i + 1 == data.size()) break;
        out.push_back(',');
        if (out.size() - lineStart >= kWrapColumn) {
            out += "\\\r\n  ";
            lineStart = out.size() - 2;
        }
    }
}

void appendValue(std::string& out, const RegistryValue& v) {
    const size_t lineStart = out.size();
    if (v.name.empty()) out.push_back('@');
    else appendQuoted(out, v.name);
    out.push_back('=');
    if (v.type == ValueType::String && isQuotableString(v.data)) {
        appendQuoted(out, std::string_view(reinterpret_cast<const char*>(v.data.data()), v.data.size() - 1));
    } else if (v.type == ValueType::Dword && v.data.size() == 4) {
        char digits[16];
        std::snprintf(digits, sizeof digits, "%08x", static_cast<unsigned>(readLittleEndian32(v.data.data())));
        out += "dword:";
        out += digits;
    } else {
        if (v.type == ValueType::Binary) {
            out += "hex:";
        } else {
            char prefix[24];
            std::snprintf(prefix, sizeof prefix, "hex(%x):", static_cast<unsigned>(v.type));
            out += prefix;
        }
        appendHex(out, v.data, lineStart);
    }
    out += "\r\n";
}

}  // namespace

const RegistryValue* RegistrySection::find(std::string_view name) const {
    const auto found = index_.find(lowered(name));
    return found == index_.end() ? nullptr : &values_.at(found->second);
}

bool RegistrySection::read(std::string_view name, ValueType& type, uint8_t* data, uint32_t& size) const {
    const RegistryValue* v = find(name);
    if (!v || v->data.size() > size) return false;
    type = v->type;
    if (!v->data.empty()) std::memcpy(data, v->data.data(), v->data.size());
    size = static_cast<uint32_t>(v->data.size());
    return true;
}

void RegistrySection::write(std::string_view name, ValueType type, const uint8_t* data, uint32_t size) {
    put({std::string(name), type, std::vector<uint8_t>(data, data + size)});
}

uint64_t RegistrySection::put(RegistryValue value) {
    const auto [found, added] = index_.emplace(lowered(value.name), next_);
    if (added) {
        values_.emplace(next_++, std::move(value));
    } else {
        // The name keeps the spelling it was first stored with, as in the registry.
        RegistryValue& held = values_.at(found->second);
        held.type = value.type;
        held.data = std::move(value.data);
    }
    return found->second;
}

bool RegistrySection::remove(std::string_view name) {
    const auto found = index_.find(lowered(name));
    if (found == index_.end()) return false;
    values_.erase(found->second);
    index_.erase(found);
    return true;
}

void RegistrySection::drop(std::string_view name, CommentLines& waiting) {
    const auto found = index_.find(lowered(name));
    if (found == index_.end()) return;
    if (const auto note = comments_.find(found->second); note != comments_.end()) {
        waiting.splice(waiting.begin(), note->second);
        comments_.erase(note);
    }
    values_.erase(found->second);
    index_.erase(found);
}

void RegistrySection::comment(uint64_t place, CommentLines& lines) {
    if (!lines.empty()) comments_[place].splice(comments_[place].end(), lines);
}

void RegistrySection::takeComments(CommentLines& lines) {
    lines.splice(lines.end(), heading_);
    for (auto& entry : comments_) lines.splice(lines.end(), entry.second);
    comments_.clear();
}

RegistrySection* RegistryDocument::find(std::string_view path) {
    const auto found = index_.find(lowered(path));
    return found == index_.end() ? nullptr : &sections_.at(found->second);
}

const RegistrySection* RegistryDocument::find(std::string_view path) const {
    const auto found = index_.find(lowered(path));
    return found == index_.end() ? nullptr : &sections_.at(found->second);
}

RegistrySection& RegistryDocument::obtain(std::string_view path) {
    const auto [found, added] = index_.emplace(lowered(path), next_);
    if (added) sections_.emplace(next_++, RegistrySection(std::string(path)));
    return sections_.at(found->second);
}

bool RegistryDocument::hasKey(std::string_view path) const {
    const std::string key = lowered(path);
    if (index_.count(key)) return true;
    const std::string below = key + '\\';
    const auto first = index_.lower_bound(below);
    return first != index_.end() && first->first.compare(0, below.size(), below) == 0;
}

void RegistryDocument::removeKey(std::string_view path, CommentLines& waiting) {
    const std::string key = lowered(path);
    const std::string below = key + '\\';
    std::vector<uint64_t> gone;
    if (const auto exact = index_.find(key); exact != index_.end()) {
        gone.push_back(exact->second);
        index_.erase(exact);
    }
    for (auto at = index_.lower_bound(below); at != index_.end() && at->first.compare(0, below.size(), below) == 0;) {
        gone.push_back(at->second);
        at = index_.erase(at);
    }
    std::sort(gone.begin(), gone.end());  // their comments in file order
    CommentLines taken;
    for (const uint64_t order : gone) {
        sections_.at(order).takeComments(taken);
        sections_.erase(order);
    }
    waiting.splice(waiting.begin(), taken);
}

std::string_view hiveRootName(Hive hive) {
    return hive == Hive::User ? "HKEY_CURRENT_USER" : "HKEY_LOCAL_MACHINE";
}

std::string sectionPath(Hive hive, std::string_view keyPath) {
    std::string path(hiveRootName(hive));
    path.push_back('\\');
    path += keyPath;
    return path;
}

bool isStorableValueName(std::string_view name) {
    return name.find_first_of(std::string_view("\0\r\n", 3)) == std::string_view::npos;
}

bool parseRegistryFile(std::string_view text, RegistryDocument& out) {
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);  // a BOM some editors add
    const std::vector<std::string_view> lines = splitLines(text);
    if (lines.empty() || trim(lines[0]) != "REGEDIT4") return false;

    RegistryDocument document;
    RegistrySection* section = nullptr;  // none before the first key and after a deleted one
    CommentLines comments;               // waiting for the line they were written above
    for (size_t i = 1; i < lines.size(); ++i) {
        const std::string_view line = trim(lines[i]);
        if (line.empty()) continue;
        if (line[0] == ';') {
            comments.emplace_back(lines[i]);
            continue;
        }
        if (line[0] == '[') {
            const bool deletion = line.size() > 1 && line[1] == '-';
            const size_t start = deletion ? 2 : 1;
            if (line.back() != ']' || line.size() < start + 2) return false;
            const std::string_view path = line.substr(start, line.size() - start - 1);
            section = nullptr;
            if (deletion) {
                document.removeKey(path, comments);
            } else {
                section = &document.obtain(path);
                section->heading().splice(section->heading().end(), comments);
            }
            continue;
        }
        RegistryValue value;
        bool deletion = false;
        if (!parseValueLine(line, lines, i, value, deletion)) return false;
        if (deletion) {
            if (section) section->drop(value.name, comments);
            continue;
        }
        if (!section) return false;
        section->comment(section->put(std::move(value)), comments);
    }
    document.closing().splice(document.closing().end(), comments);
    out = std::move(document);
    return true;
}

std::string formatRegistryFile(const RegistryDocument& document) {
    std::string out = "REGEDIT4\r\n\r\n";
    const auto comment = [&out](const std::string& line) { appendLine(out, line); };
    document.forEachSection([&](const RegistrySection& section) {
        for (const std::string& line : section.heading()) comment(line);
        out += '[';
        out += section.path();
        out += "]\r\n";
        section.forEachLine([&out](const RegistryValue& v) { appendValue(out, v); }, comment);
        out += "\r\n";
    });
    for (const std::string& line : document.closing()) comment(line);
    return out;
}
