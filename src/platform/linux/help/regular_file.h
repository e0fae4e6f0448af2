#pragma once
#include <sys/stat.h>

#include <string>

// A help file held open for chmlib: opened by openRegularFile
// (platform/linux/regular_file.h), so a path that names a FIFO or a device
// is refused at once instead of hanging the dialog.
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
