#include "platform/linux/store/regular_file.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

FileReadResult openRegularFile(const std::string& path, int& fd) {
    // Without O_NONBLOCK, opening a FIFO waits for a writer; O_NOCTTY keeps a
    // terminal from becoming the program's controlling one.
    const int opened = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (opened < 0) return errno == ENOENT || errno == ENOTDIR ? FileReadResult::Absent : FileReadResult::Unreadable;
    struct stat info {};
    const int flags = ::fcntl(opened, F_GETFL);
    if (::fstat(opened, &info) != 0 || !S_ISREG(info.st_mode) || flags < 0 ||
        ::fcntl(opened, F_SETFL, flags & ~O_NONBLOCK) != 0) {
        ::close(opened);
        return FileReadResult::Unreadable;
    }
    fd = opened;
    return FileReadResult::Read;
}

FileReadResult readRegularFile(const std::string& path, size_t limit, std::string& out) {
    int fd = -1;
    FileReadResult result = openRegularFile(path, fd);
    if (result != FileReadResult::Read) return result;
    out.clear();
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            result = FileReadResult::Unreadable;
            break;
        }
        if (n == 0) break;
        if (out.size() + static_cast<size_t>(n) > limit) {
            result = FileReadResult::TooLarge;
            break;
        }
        out.append(buffer, static_cast<size_t>(n));
    }
    ::close(fd);
    return result;
}

RegularFile::RegularFile(const std::string& path) {
    int fd = -1;
    if (openRegularFile(path, fd) != FileReadResult::Read) return;
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
