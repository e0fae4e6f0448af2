#pragma once
#include <cstddef>
#include <string>

// Whole-file reads of files named by stored or given paths (language files,
// help files). The platform's reader never waits on the path: it opens
// without blocking and reads only regular files, so a pipe, a device or a
// folder named in the settings reads like a file that cannot be opened
// instead of freezing the program or filling its memory.

enum class FileReadResult { Read, Absent, Unreadable, TooLarge };

class FileReader {
public:
    virtual ~FileReader() = default;

    // Reads the file at `path` into `out`, at most `limit` bytes: a longer
    // file is TooLarge. Absent when nothing is there; Unreadable for
    // anything else that cannot be read, including every non-regular file.
    virtual FileReadResult readFile(const std::string& path, size_t limit, std::string& out) = 0;
};
