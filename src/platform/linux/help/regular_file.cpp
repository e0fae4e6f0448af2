#include "platform/linux/help/regular_file.h"

#include <fcntl.h>
#include <unistd.h>

RegularFile::RegularFile(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) return;
    if (::fstat(fd, &status_) != 0 || !S_ISREG(status_.st_mode)) {
        ::close(fd);
        return;
    }
    fd_ = fd;
}

RegularFile::~RegularFile() {
    if (fd_ >= 0) ::close(fd_);
}

std::string RegularFile::descriptorPath() const { return "/proc/self/fd/" + std::to_string(fd_); }
