#pragma once
#include <sys/stat.h>
#include <sys/types.h>

#include <chrono>
#include <memory>
#include <string>
#include <string_view>

#include "platform/linux/help/chm_archive.h"

// Reads the stored files of a help file (.chm) through ChmArchive in a
// child process, so that a damaged file that sends chmlib out of bounds or
// into an endless loop costs at most that child: the caller gets "nothing"
// and carries on.
//
// The child is forked, not executed: it needs no program of its own. It runs
// only chmlib, the C library's allocator and the pipe protocol below, and
// never returns into the caller's code. It gets a CPU-time limit, an
// address-space limit a little above what it inherits, dies with its
// parent, and is killed when a reply misses the session's deadline.
class ChmReaderProcess {
public:
    struct Limits {
        // For the whole session, from start to the last reply.
        std::chrono::milliseconds time{5000};
        // Address space the child may add to what it inherits.
        size_t extraMemoryBytes = 256u * 1024 * 1024;
    };

    // Nothing when `path` is not a regular file, chmlib cannot open it, or
    // the child cannot be started.
    static std::unique_ptr<ChmReaderProcess> start(const std::string& path, Limits limits);
    static std::unique_ptr<ChmReaderProcess> start(const std::string& path) { return start(path, Limits{}); }
    ~ChmReaderProcess();
    ChmReaderProcess(const ChmReaderProcess&) = delete;
    ChmReaderProcess& operator=(const ChmReaderProcess&) = delete;

    // ChmArchive::read in the child. Unreadable also once the child has
    // died or missed the deadline.
    ChmRead read(std::string_view path, std::string& bytes);

    // fstat of the help file as it was opened: what the extracted copy is
    // named after.
    const struct stat& status() const { return status_; }

private:
    ChmReaderProcess(pid_t child, int socket, std::chrono::steady_clock::time_point deadline,
                     const struct stat& status);
    bool receive(void* data, size_t size);
    void stop();

    pid_t child_;
    int socket_;
    std::chrono::steady_clock::time_point deadline_;
    struct stat status_;
};
