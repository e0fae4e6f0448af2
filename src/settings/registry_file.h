#pragma once
#include <cstdint>
#include <deque>
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

struct RegistryValue {
    std::string name;  // "" is the key's default value, written as @
    ValueType type;
    std::vector<uint8_t> data;
};

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
    void put(RegistryValue value);
    bool remove(std::string_view name);

    size_t size() const { return values_.size(); }
    // Calls `visit` with every value in file order.
    template <class Visit>
    void forEachValue(Visit&& visit) const {
        for (const auto& entry : values_) visit(entry.second);
    }

private:
    std::string path_;
    std::map<uint64_t, RegistryValue> values_;         // by order of arrival
    std::unordered_map<std::string, uint64_t> index_;  // lower-case name -> order
    uint64_t next_ = 0;
};

class RegistryDocument {
public:
    RegistrySection* find(std::string_view path);
    const RegistrySection* find(std::string_view path) const;
    RegistrySection& obtain(std::string_view path);  // appended when absent
    // A key exists when it or a key below it has a section.
    bool hasKey(std::string_view path) const;
    const std::deque<RegistrySection>& sections() const { return sections_; }

private:
    std::deque<RegistrySection> sections_;  // a deque keeps sections in place as others are added
    std::unordered_map<std::string, size_t> index_;  // lower-case path -> position
};

// "HKEY_CURRENT_USER" or "HKEY_LOCAL_MACHINE".
std::string_view hiveRootName(Hive hive);

// The section path of `keyPath` in `hive`.
std::string sectionPath(Hive hive, std::string_view keyPath);

// Fills `document` from the text; false, with `document` left as it was,
// when the text is not a registry export file. Duplicate sections merge and
// a repeated value replaces the earlier one, as an import would.
bool parseRegistryFile(std::string_view text, RegistryDocument& document);

// The document as REGEDIT4 text with CR LF line breaks.
std::string formatRegistryFile(const RegistryDocument& document);

// True when a value name can be written to the file format.
bool isStorableValueName(std::string_view name);
