#include "platform/linux/atomic_file.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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

}  // namespace

std::string folderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

FileReadResult readWholeFile(const std::string& path, size_t limit, std::string& out) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return errno == ENOENT || errno == ENOTDIR ? FileReadResult::Absent : FileReadResult::Unreadable;
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return FileReadResult::Unreadable;
    }
    out.clear();
    char buffer[65536];
    FileReadResult result = FileReadResult::Read;
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

bool writeFileAtomically(const std::string& path, std::string_view bytes) {
    std::string temp = path + ".XXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0) return false;
    struct stat old {};
    const mode_t mode = ::stat(path.c_str(), &old) == 0 ? (old.st_mode & 07777) : 0644;
    bool ok = ::fchmod(fd, mode) == 0 && writeAll(fd, bytes.data(), bytes.size()) && ::fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    ok = ok && ::rename(temp.c_str(), path.c_str()) == 0;
    if (!ok) {
        ::unlink(temp.c_str());
        return false;
    }
    // The rename itself reaches the disk with the folder's entry.
    const int dir = ::open(folderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return true;
}

bool keepDamagedCopy(const std::string& path) {
    const int from = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (from < 0) return errno == ENOENT;
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
