#pragma once
#include <string>
#include <string_view>

#include "base/outcome.h"
#include "i18n/file_reader.h"
#include "i18n/language_table.h"

// A language file: line 1 the language's name, line 2 the pop-up font, then
// one "id=text" entry per line. Loading reports failure as a message text;
// on failure the caller empties `texts`, so a file is used whole or not at all.
inline constexpr const char* kLanguageFileCannotOpen = "Error loading language file. File cannot be opened.";
inline constexpr const char* kLanguageFileNoEntry = "Error reading language file. Text description not found.";

// Lines longer than this (line break not counted) end the readable part of
// the file: every later read comes back empty.
inline constexpr size_t kLanguageLineLimit = 1999;

// Larger files are not read: they count as files that cannot be opened.
// Language files are a few kilobytes; one with a line of the longest length
// for every id the program looks up stays under 1 MB.
inline constexpr size_t kLanguageFileLimit = 16u << 20;

// Fills the table from the file named by `table.path`, read through
// `files`; a failure carries one of the messages above.
Outcome LoadLanguageFile(LanguageTable& table, FileReader& files);

// The first line of the language file at `path`, the language's name, as
// the loader reads it (at most kLanguageLineLimit bytes); "" when the file
// cannot be read.
std::string ReadLanguageName(const std::string& path, FileReader& files);

// The same from the file's contents.
Outcome ReadLanguageText(LanguageTable& table, std::string_view text);
