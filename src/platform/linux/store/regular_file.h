#pragma once
#include <sys/stat.h>

#include <string>

#include "i18n/file_reader.h"

// Opening the files that settings and arguments name (store files, language
// files, pictures, sounds, help files). The path is opened without blocking
// and used only when it is a regular file: a FIFO would otherwise wait for
// a writer for ever, and a device would be read without end.

// Opens `path` for reading (blocking reads, closed on exec): Read with the
// descriptor in `fd`, else Absent or Unreadable with `fd` untouched.
FileReadResult openRegularFile(const std::string& path, int& fd);

// Reads the regular file at `path` into `out`; more than `limit` bytes is
// TooLarge.
FileReadResult readRegularFile(const std::string& path, size_t limit, std::string& out);

// A regular file held open, for libraries that read a file themselves
// (chmlib reads the help files): the path is checked once, as above, and the
// library is handed the open file, never the path again.
class RegularFile {
public:
    // Not open when `path` is missing, unreadable or not a regular file.
    explicit RegularFile(const std::string& path);
    ~RegularFile();
    RegularFile(const RegularFile&) = delete;
    RegularFile& operator=(const RegularFile&) = delete;

    bool isOpen() const { return fd_ >= 0; }
    int fd() const { return fd_; }
    // fstat of the open file: size, modification time, device and inode.
    const struct stat& status() const { return status_; }
    // A path that names this very file (the open descriptor) for libraries
    // that take only a path: opening it cannot reach another file, even when
    // the original path has been replaced in the meantime.
    std::string descriptorPath() const;

private:
    int fd_ = -1;
    struct stat status_ {};
};
