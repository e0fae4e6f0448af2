#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
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

// One key with its values in file order. The operations follow StoreKey.
struct RegistrySection {
    std::string path;  // with the hive's root name, e.g. HKEY_CURRENT_USER\Software
    std::vector<RegistryValue> values;

    const RegistryValue* find(std::string_view name) const;
    bool read(std::string_view name, ValueType& type, uint8_t* data, uint32_t& size) const;
    void write(std::string_view name, ValueType type, const uint8_t* data, uint32_t size);
    bool remove(std::string_view name);
};

struct RegistryDocument {
    std::vector<RegistrySection> sections;

    RegistrySection* find(std::string_view path);
    RegistrySection& obtain(std::string_view path);  // appended when absent
    // A key exists when it or a key below it has a section.
    bool hasKey(std::string_view path) const;
};

// "HKEY_CURRENT_USER" or "HKEY_LOCAL_MACHINE".
std::string_view hiveRootName(Hive hive);

// The section path of `keyPath` in `hive`.
std::string sectionPath(Hive hive, std::string_view keyPath);

// Nothing when the text is not a registry export file. Duplicate sections
// merge and a repeated value replaces the earlier one, as an import would.
std::optional<RegistryDocument> parseRegistryFile(std::string_view text);

// The document as REGEDIT4 text with CR LF line breaks.
std::string formatRegistryFile(const RegistryDocument& document);

// True when a value name can be written to the file format.
bool isStorableValueName(std::string_view name);
