#pragma once
#include <cstdint>
#include <list>
#include <map>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "settings/store.h"

// The text format of registry export files (REGEDIT4): a header line, then
// "[HIVE\key\path]" sections holding "name"=value lines. Strings are quoted
// with \\ and \" escaped, numbers are dword:xxxxxxxx, everything else is
// hex(type):bytes (plain hex: for binary), wrapped with a trailing "\".
// Names of keys and values compare without regard to ASCII case, as in the
// registry. Used as the settings store where there is no registry, so a
// file can go to and come from a Windows registry unchanged.
//
// The file is also the user's to edit, so what Lumara does not own is kept:
// other keys and values, and ";" comment lines, each before the line it was
// written above (those after the last line end the file). An export's
// deletions, "[-HIVE\key]" (the key and every key below it) and "name"=-,
// are done in file order as an import would do them; the file written
// afterwards holds what is left, and the comments of a deleted key move to
// the line after the deletion.

struct RegistryValue {
    std::string name;  // "" is the key's default value, written as @
    ValueType type;
    std::vector<uint8_t> data;
};

// Comment lines as written, each without its line break. A list, so lines
// carried past a deletion move in one step however many there are.
using CommentLines = std::list<std::string>;

// One key with its values in file order. The operations follow StoreKey;
// a value is found by name in constant time, so a store of thousands of
// presets loads and saves in time linear in its size.
class RegistrySection {
public:
    explicit RegistrySection(std::string path) : path_(std::move(path)) {}

    // With the hive's root name, e.g. HKEY_CURRENT_USER\Software.
    const std::string& path() const { return path_; }

    const RegistryValue* find(std::string_view name) const;
    bool read(std::string_view name, ValueType& type, uint8_t* data, uint32_t& size) const;
    // A new value goes after the others; a replaced one keeps its place.
    void write(std::string_view name, ValueType type, const uint8_t* data, uint32_t size);
    // Returns the value's place in the key, which its comments are kept at.
    uint64_t put(RegistryValue value);
    // The value's comment lines stay where it was.
    bool remove(std::string_view name);
    // Deletes value `name` as an import does: its comment lines go before
    // those of `waiting` (written after them), to be kept above the next line.
    void drop(std::string_view name, CommentLines& waiting);

    // Comment lines written above the key's own line.
    CommentLines& heading() { return heading_; }
    const CommentLines& heading() const { return heading_; }
    // Keeps comment lines above the value at `place` (as put returned it).
    void comment(uint64_t place, CommentLines& lines);
    // Moves every comment line of the key, its heading's first, to the end of `lines`.
    void takeComments(CommentLines& lines);

    size_t size() const { return values_.size(); }
    // Calls `visitValue` with every value and `visitComment` with every
    // comment line below the key's own line, in file order.
    template <class VisitValue, class VisitComment>
    void forEachLine(VisitValue&& visitValue, VisitComment&& visitComment) const {
        auto note = comments_.begin();
        const auto visitNote = [&visitComment](const CommentLines& lines) {
            for (const std::string& line : lines) visitComment(line);
        };
        for (const auto& [place, value] : values_) {
            for (; note != comments_.end() && note->first <= place; ++note) visitNote(note->second);
            visitValue(value);
        }
        for (; note != comments_.end(); ++note) visitNote(note->second);
    }

private:
    std::string path_;
    std::map<uint64_t, RegistryValue> values_;         // by order of arrival
    std::unordered_map<std::string, uint64_t> index_;  // lower-case name -> order
    std::map<uint64_t, CommentLines> comments_;        // each above the value of that order
    CommentLines heading_;
    uint64_t next_ = 0;
};

class RegistryDocument {
public:
    RegistrySection* find(std::string_view path);
    const RegistrySection* find(std::string_view path) const;
    RegistrySection& obtain(std::string_view path);  // appended when absent
    // A key exists when it or a key below it has a section.
    bool hasKey(std::string_view path) const;
    // Deletes key `path` and every key below it, as an import does: their
    // comment lines go before those of `waiting`, as RegistrySection::drop.
    void removeKey(std::string_view path, CommentLines& waiting);

    size_t size() const { return sections_.size(); }
    // Calls `visit` with every section in file order.
    template <class Visit>
    void forEachSection(Visit&& visit) const {
        for (const auto& entry : sections_) visit(entry.second);
    }

    // Comment lines after the file's last key and value.
    CommentLines& closing() { return closing_; }
    const CommentLines& closing() const { return closing_; }

private:
    // By order of arrival: each stays in place as others come and go.
    std::map<uint64_t, RegistrySection> sections_;
    // Lower-case path -> order, sorted, so the keys below one are found together.
    std::map<std::string, uint64_t> index_;
    CommentLines closing_;
    uint64_t next_ = 0;
};

// "HKEY_CURRENT_USER" or "HKEY_LOCAL_MACHINE".
std::string_view hiveRootName(Hive hive);

// The section path of `keyPath` in `hive`.
std::string sectionPath(Hive hive, std::string_view keyPath);

// Fills `document` from the text; false, with `document` left as it was,
// when the text is not a registry export file. Duplicate sections merge, a
// repeated value replaces the earlier one and deletions are done, as an
// import would; a value set outside any key is damage, a deletion of what
// is not there is nothing.
bool parseRegistryFile(std::string_view text, RegistryDocument& document);

// The document as REGEDIT4 text with CR LF line breaks.
std::string formatRegistryFile(const RegistryDocument& document);

// True when a value name can be written to the file format.
bool isStorableValueName(std::string_view name);
