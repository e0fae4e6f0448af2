#pragma once
#include <cstdint>
#include <span>
#include <string_view>

// The program's own string table: the English texts that the code puts into
// lists, tabs, file dialogs and the factory preset names. The one source of
// these texts; the Windows resources are made from it. UTF-8.
struct StringTableEntry {
    uint32_t id;
    std::string_view text;
};

std::span<const StringTableEntry> builtInStringTable();

// The built-in text of `id`; "" when the table has no such id.
std::string_view builtInText(uint32_t id);
