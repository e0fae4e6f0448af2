#pragma once
// Opening the files that settings name on Windows (language files, pictures,
// sounds, help files), paired with the Linux regular_file.h. A path is used
// only when it opens as a file on disk: a named pipe, a console or another
// device ("\\.\...", "CON", "NUL", "COM1") is refused like a file that cannot
// be opened, so it is never waited on or read without end.
#include <string>

#include "i18n/file_reader.h"

// Reads the disk file at `path` (ANSI code page) into `out`; more than
// `limit` bytes is TooLarge.
FileReadResult readRegularFile(const std::string& path, size_t limit, std::string& out);

// True when `path` opens for reading as a file on disk.
bool isRegularFile(const std::string& path);
