#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "base/outcome.h"

// The loaded language file: its path, its two header lines and the text of
// every id it names. Control ids, dialog ids and string-table ids share one
// number space, so one text per id serves all three.
struct LanguageTable {
    std::string path;                  // the file to load
    std::string description = "default";  // line 1: the language's name
    std::string popupFont;             // line 2: font of the context-help pop-ups
    std::vector<std::string> texts;    // text of id i at index i; "" = no text

    uint32_t count() const { return static_cast<uint32_t>(texts.size()); }
};

// Ids at or above this are never looked up by the program; the loader skips
// entries for them instead of growing the dense table without bound.
inline constexpr uint32_t kLanguageIdLimit = 65536;

// The text of `id`, or "" when the table has none.
const std::string& LookupText(const LanguageTable& table, uint32_t id);

// Stores `text` under `id`, growing the table to id + 1 entries when needed.
// Fails with "No memory" when the table cannot grow.
Outcome StoreText(LanguageTable& table, uint32_t id, const std::string& text);
