#include "platform/linux/help/chm_reader_process.h"

#include <chm_lib.h>
#include <fcntl.h>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstdlib>

// The protocol over the socket pair. The child first sends one byte: 1 when
// chmlib opened the file, else 0 (and ends). Then, per request, the parent
// sends a 32-bit path length and the path; the child answers with one byte,
// the ChmRead result, and when that is Read, the stored file's 64-bit length
// and its bytes. Numbers are in the machine's own order: both ends are the
// same program.

// Present only in sanitizer builds, where a fuzzer or test runner may have
// set a death callback that reports the process's input as a crash.
extern "C" void __sanitizer_set_death_callback(void (*callback)()) __attribute__((weak));

namespace {

bool sendAll(int socket, const void* data, size_t size) {
    const char* bytes = static_cast<const char*>(data);
    while (size > 0) {
        const ssize_t n = ::send(socket, bytes, size, MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        bytes += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

// Blocking; only the child uses it, and its parent bounds its life.
bool receiveAll(int socket, void* data, size_t size) {
    char* bytes = static_cast<char*>(data);
    while (size > 0) {
        const ssize_t n = ::recv(socket, bytes, size, 0);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        bytes += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

// Address space the process has mapped now (it counts against RLIMIT_AS).
size_t mappedBytes() {
    const int fd = ::open("/proc/self/statm", O_RDONLY | O_CLOEXEC);
    if (fd < 0) return 0;
    char text[64] = {};
    const ssize_t n = ::read(fd, text, sizeof text - 1);
    ::close(fd);
    const unsigned long long pages = n > 0 ? std::strtoull(text, nullptr, 10) : 0;
    return static_cast<size_t>(pages) * static_cast<size_t>(::sysconf(_SC_PAGESIZE));
}

void limitChild(const ChmReaderProcess::Limits& limits) {
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    // A crash is this process's quiet end, whatever handlers the parent
    // (a sanitizer, a fuzzer, a toolkit) had installed.
    for (const int signal : {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT, SIGXCPU, SIGALRM, SIGPIPE})
        std::signal(signal, SIG_DFL);
    if (__sanitizer_set_death_callback) __sanitizer_set_death_callback(nullptr);
    const auto seconds = std::chrono::ceil<std::chrono::seconds>(limits.time).count();
    const rlimit cpu{static_cast<rlim_t>(seconds), static_cast<rlim_t>(seconds)};
    ::setrlimit(RLIMIT_CPU, &cpu);
    const size_t mapped = mappedBytes();
    if (mapped > 0) {
        const rlimit memory{static_cast<rlim_t>(mapped + limits.extraMemoryBytes),
                            static_cast<rlim_t>(mapped + limits.extraMemoryBytes)};
        ::setrlimit(RLIMIT_AS, &memory);
    }
}

// The child's whole life: answer requests until the parent hangs up.
[[noreturn]] void serve(int socket, const RegularFile& file, const ChmReaderProcess::Limits& limits) {
    limitChild(limits);
    ChmArchive archive;
    const uint8_t opened = archive.open(file) ? 1 : 0;
    if (!sendAll(socket, &opened, 1) || !opened) ::_exit(0);
    std::string bytes;
    for (;;) {
        uint32_t length = 0;
        if (!receiveAll(socket, &length, sizeof length) || length == 0 || length > CHM_MAX_PATHLEN) ::_exit(0);
        std::string path(length, '\0');
        if (!receiveAll(socket, path.data(), length)) ::_exit(0);
        const uint8_t result = static_cast<uint8_t>(archive.read(path, bytes));
        if (!sendAll(socket, &result, 1)) ::_exit(0);
        if (result != static_cast<uint8_t>(ChmRead::Read)) continue;
        const uint64_t size = bytes.size();
        if (!sendAll(socket, &size, sizeof size) || !sendAll(socket, bytes.data(), bytes.size())) ::_exit(0);
    }
}

}  // namespace

std::unique_ptr<ChmReaderProcess> ChmReaderProcess::start(const std::string& path, Limits limits) {
    const RegularFile file(path);
    if (!file.isOpen()) return nullptr;
    int sockets[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, sockets) != 0) return nullptr;
    const pid_t child = ::fork();
    if (child < 0) {
        ::close(sockets[0]);
        ::close(sockets[1]);
        return nullptr;
    }
    if (child == 0) {
        ::close(sockets[0]);
        serve(sockets[1], file, limits);
    }
    ::close(sockets[1]);
    std::unique_ptr<ChmReaderProcess> reader(
        new ChmReaderProcess(child, sockets[0], std::chrono::steady_clock::now() + limits.time, file.status()));
    uint8_t opened = 0;
    if (!reader->receive(&opened, 1) || opened != 1) return nullptr;
    return reader;
}

ChmReaderProcess::ChmReaderProcess(pid_t child, int socket, std::chrono::steady_clock::time_point deadline,
                                   const struct stat& status)
    : child_(child), socket_(socket), deadline_(deadline), status_(status) {}

ChmReaderProcess::~ChmReaderProcess() { stop(); }

void ChmReaderProcess::stop() {
    if (child_ <= 0) return;
    ::close(socket_);
    ::kill(child_, SIGKILL);
    while (::waitpid(child_, nullptr, 0) < 0 && errno == EINTR) {
    }
    child_ = -1;
    socket_ = -1;
}

bool ChmReaderProcess::receive(void* data, size_t size) {
    char* bytes = static_cast<char*>(data);
    while (size > 0 && child_ > 0) {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline_ - std::chrono::steady_clock::now());
        if (left.count() <= 0) break;
        pollfd ready{socket_, POLLIN, 0};
        const int polled = ::poll(&ready, 1, static_cast<int>(left.count()));
        if (polled < 0 && errno == EINTR) continue;
        if (polled <= 0) break;
        const ssize_t n = ::recv(socket_, bytes, size, MSG_DONTWAIT);
        if (n < 0 && (errno == EINTR || errno == EAGAIN)) continue;
        if (n <= 0) break;
        bytes += n;
        size -= static_cast<size_t>(n);
    }
    if (size > 0) stop();
    return size == 0;
}

ChmRead ChmReaderProcess::read(std::string_view path, std::string& bytes) {
    bytes.clear();
    if (path.empty() || path.size() > CHM_MAX_PATHLEN) return ChmRead::Absent;
    if (child_ <= 0) return ChmRead::Unreadable;
    const uint32_t length = static_cast<uint32_t>(path.size());
    if (!sendAll(socket_, &length, sizeof length) || !sendAll(socket_, path.data(), path.size())) {
        stop();
        return ChmRead::Unreadable;
    }
    uint8_t result = 0;
    if (!receive(&result, 1)) return ChmRead::Unreadable;
    if (result == static_cast<uint8_t>(ChmRead::Absent)) return ChmRead::Absent;
    uint64_t size = 0;
    if (result != static_cast<uint8_t>(ChmRead::Read) || !receive(&size, sizeof size)) return ChmRead::Unreadable;
    if (size > ChmArchive::kMaxObjectBytes) {
        stop();
        return ChmRead::Unreadable;
    }
    bytes.resize(static_cast<size_t>(size));
    if (receive(bytes.data(), bytes.size())) return ChmRead::Read;
    bytes.clear();
    return ChmRead::Unreadable;
}
