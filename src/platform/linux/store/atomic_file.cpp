#include "platform/linux/store/atomic_file.h"

#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/linux/store/regular_file.h"

namespace {

bool writeAll(int fd, const char* data, size_t size) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        data += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

// Copies the open file `from` into the new file `to`; EEXIST in errno when
// `to` already exists.
bool copyInto(int from, const std::string& to) {
    const int fd = ::open(to.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0) return false;
    char buffer[65536];
    bool ok = true;
    for (;;) {
        const ssize_t n = ::read(from, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            ok = n == 0;
            break;
        }
        if (!writeAll(fd, buffer, static_cast<size_t>(n))) {
            ok = false;
            break;
        }
    }
    ok = ::fsync(fd) == 0 && ok;
    ::close(fd);
    if (!ok) ::unlink(to.c_str());
    return ok;
}

// Opens `temp` empty, created when absent and locked against other saves;
// -1 when it cannot be had. What a killed save left there is reused.
int openLockedTemporary(const std::string& temp) {
    constexpr int kAttempts = 50;
    constexpr useconds_t kWait = 20'000;
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0600);
        struct stat opened {};
        if (fd < 0 || ::fstat(fd, &opened) != 0 || !S_ISREG(opened.st_mode)) {
            // Anything but a regular file under the name (a link, a FIFO
            // without a reader, a device) is no save's: it goes.
            const bool foreign = (fd >= 0 || errno == ELOOP || errno == ENXIO) && ::unlink(temp.c_str()) == 0;
            if (fd >= 0) ::close(fd);
            if (foreign) continue;
            return -1;
        }
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
            // A save that held the lock before may have renamed the file
            // away; then this descriptor is the finished store, not the
            // temporary file, and the name is opened afresh.
            struct stat named {};
            if (::stat(temp.c_str(), &named) == 0 && named.st_dev == opened.st_dev && named.st_ino == opened.st_ino &&
                ::ftruncate(fd, 0) == 0)
                return fd;
            ::close(fd);
            continue;
        }
        const bool busy = errno == EWOULDBLOCK;
        ::close(fd);
        if (!busy) return -1;
        ::usleep(kWait);
    }
    return -1;
}

}  // namespace

std::string folderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

std::string followLinks(const std::string& path) {
    // As many links as the kernel follows in one path; a longer chain or a
    // loop fails to open anyway.
    constexpr int kMaxLinks = 40;
    std::string current = path;
    for (int i = 0; i < kMaxLinks; ++i) {
        struct stat info {};
        if (::lstat(current.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) break;
        std::string target(PATH_MAX, '\0');
        const ssize_t n = ::readlink(current.c_str(), target.data(), target.size());
        if (n <= 0 || static_cast<size_t>(n) >= target.size()) break;
        target.resize(static_cast<size_t>(n));
        current = target[0] == '/' ? target : folderOf(current) + '/' + target;
    }
    return current;
}

bool writeFileAtomically(const std::string& path, std::string_view bytes) {
    const std::string target = followLinks(path);
    const std::string temp = target + ".tmp";
    const int fd = openLockedTemporary(temp);
    if (fd < 0) return false;
    struct stat old {};
    const mode_t mode = ::stat(target.c_str(), &old) == 0 ? (old.st_mode & 07777) : 0644;
    bool ok = ::fchmod(fd, mode) == 0 && writeAll(fd, bytes.data(), bytes.size()) && ::fsync(fd) == 0;
    // Renamed while still locked, so no other save can be writing into it.
    ok = ok && ::rename(temp.c_str(), target.c_str()) == 0;
    if (!ok) ::unlink(temp.c_str());
    ok = ::close(fd) == 0 && ok;
    if (!ok) return false;
    // The rename itself reaches the disk with the folder's entry.
    const int dir = ::open(folderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return true;
}

bool isReadOnlyFile(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) return false;
    return (info.st_mode & 0222) == 0 || ::access(path.c_str(), W_OK) != 0;
}

bool keepDamagedCopy(const std::string& path) {
    int from = -1;
    if (const FileReadResult opened = openRegularFile(path, from); opened != FileReadResult::Read)
        return opened == FileReadResult::Absent;
    constexpr int kMaxCopies = 100;
    bool kept = false;
    for (int n = 0; n < kMaxCopies && !kept; ++n) {
        std::string name = path;
        name += ".damaged";
        if (n > 0) name += '.' + std::to_string(n);
        if (::lseek(from, 0, SEEK_SET) != 0) break;
        kept = copyInto(from, name);
        if (!kept && errno != EEXIST) break;
    }
    ::close(from);
    return kept;
}

bool createFolders(const std::string& folder) {
    if (folder.empty()) return false;
    for (size_t pos = 1; pos <= folder.size(); ++pos) {
        if (pos != folder.size() && folder[pos] != '/') continue;
        const std::string part = folder.substr(0, pos);
        if (::mkdir(part.c_str(), 0755) != 0 && errno != EEXIST) return false;
    }
    struct stat info {};
    return ::stat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}
