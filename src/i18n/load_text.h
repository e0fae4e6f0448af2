#pragma once
#include <cstddef>
#include <cstdint>

#include "i18n/language_table.h"

// The text of string id `id` into `buffer` of `size` bytes, NUL included:
// the loaded language's text when it has one, else the built-in text.
// Cut to fit; never writes more than `size` bytes. Returns the number of
// bytes copied without the NUL, 0 when neither has the id.
size_t LoadText(const LanguageTable& table, uint32_t id, char* buffer, size_t size);
