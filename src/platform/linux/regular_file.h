#pragma once
#include <string>

#include "i18n/file_reader.h"

// Opening the files that settings and arguments name (store files, language
// files, pictures, sounds, help files). The path is opened without blocking
// and used only when it is a regular file: a FIFO would otherwise wait for
// a writer for ever, and a device would be read without end.

// A descriptor open for reading (blocking reads, closed on exec), or -1
// with `why` set to Absent or Unreadable.
int openRegularFile(const std::string& path, FileReadResult& why);

// Reads the regular file at `path` into `out`; more than `limit` bytes is
// TooLarge.
FileReadResult readRegularFile(const std::string& path, size_t limit, std::string& out);
