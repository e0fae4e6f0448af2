#include "platform/linux/help/regular_file.h"

#include <unistd.h>

#include "platform/linux/regular_file.h"

RegularFile::RegularFile(const std::string& path) {
    FileReadResult why = FileReadResult::Read;
    const int fd = openRegularFile(path, why);
    if (fd < 0) return;
    if (::fstat(fd, &status_) != 0) {
        ::close(fd);
        return;
    }
    fd_ = fd;
}

RegularFile::~RegularFile() {
    if (fd_ >= 0) ::close(fd_);
}

std::string RegularFile::descriptorPath() const { return "/proc/self/fd/" + std::to_string(fd_); }
