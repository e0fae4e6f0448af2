#pragma once
#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "settings/store.h"

// Every stored text and list, declared once with the buffer it is read back
// into. A value whose data do not fit that buffer loads as missing, so the
// loader reads with these sizes, SaveSettings writes nothing longer and the
// dialog refuses an addition that would make a text longer: whatever Lumara
// stores, it can read again.

enum class StoredText : uint8_t {
    BackSound,       // "BackSound": the current sound
    Language,        // "Language": the chosen language file
    HelpFile,        // "HelpFile": the chosen help file
    Pictures,        // "NURimages": the distribution pictures
    RecentSound,     // "RECSOUND <i>": one entry of the sound history
    PresetPictures,  // "PRESETi<i>"
    PresetSound,     // "PRESETs<i>"
    PresetName,      // "PRESETn<i>"
    ProgramDir,      // "ProgramDir", in the machine hive
};

struct StoredTextInfo {
    StoredText text;
    std::string_view storedName;  // the value's name, or its prefix before the index
    ValueType type;               // String or MultiString
    size_t readBuffer;            // bytes with the NULs
};

inline constexpr std::array<StoredTextInfo, 9> kStoredTexts{{
    {StoredText::BackSound, "BackSound", ValueType::String, 300},
    {StoredText::Language, "Language", ValueType::String, 1000},
    {StoredText::HelpFile, "HelpFile", ValueType::String, 1000},
    {StoredText::Pictures, "NURimages", ValueType::MultiString, 10000},
    {StoredText::RecentSound, "RECSOUND ", ValueType::String, 300},
    {StoredText::PresetPictures, "PRESETi", ValueType::MultiString, 5000},
    {StoredText::PresetSound, "PRESETs", ValueType::String, 5000},
    {StoredText::PresetName, "PRESETn", ValueType::String, 5000},
    {StoredText::ProgramDir, "ProgramDir", ValueType::String, 1000},
}};

constexpr const StoredTextInfo& storedTextInfo(StoredText text) {
    return kStoredTexts[static_cast<size_t>(text)];
}
constexpr size_t readBufferOf(StoredText text) { return storedTextInfo(text).readBuffer; }

// Bytes a text or list takes in the store: a text with its NUL; a list as a
// multi-string block, every entry with its NUL and one NUL more.
constexpr size_t storedSize(std::string_view text) { return text.size() + 1; }
inline size_t storedSize(const std::vector<std::string>& list) {
    size_t size = 1;
    for (const std::string& entry : list) size += entry.size() + 1;
    return size;
}

// True when the text or list can be stored as `text` and read back whole.
constexpr bool fitsStore(StoredText text, std::string_view value) {
    return storedSize(value) <= readBufferOf(text);
}
inline bool fitsStore(StoredText text, const std::vector<std::string>& list) {
    return storedSize(list) <= readBufferOf(text);
}
// The same for the list with `added` appended.
inline bool fitsStoreWith(StoredText text, const std::vector<std::string>& list, std::string_view added) {
    return storedSize(list) + storedSize(added) <= readBufferOf(text);
}
