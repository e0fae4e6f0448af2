#include "platform/linux/idle/saver_child.h"

#include <signal.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

extern char** environ;

SaverChild::~SaverChild() {
    if (descriptor_ >= 0) close(descriptor_);
}

bool SaverChild::start() {
    char program[] = "lumara", mode[] = "/s";
    char* argv[] = {program, mode, nullptr};
    // libdbus ignores SIGPIPE in the watcher; the saver gets it back as a
    // shell would start it.
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t defaults;
    sigemptyset(&defaults);
    sigaddset(&defaults, SIGPIPE);
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF);
    pid_t pid = -1;
    const int error = posix_spawn(&pid, "/proc/self/exe", nullptr, &attributes, argv, environ);
    posix_spawnattr_destroy(&attributes);
    if (error != 0) {
        std::fprintf(stderr, "lumara: the saver could not be started (%s)\n", std::strerror(error));
        return false;
    }
    pid_ = pid;
    descriptor_ = static_cast<int>(syscall(SYS_pidfd_open, pid, 0));
    // A kernel without process descriptors (before 5.3): the watcher waits
    // for the saver alone, and reads its source's events afterwards.
    if (descriptor_ < 0) reap();
    return true;
}

void SaverChild::reap() {
    if (pid_ <= 0) return;
    while (waitpid(pid_, nullptr, 0) < 0 && errno == EINTR) {
    }
    pid_ = -1;
    if (descriptor_ >= 0) close(descriptor_);
    descriptor_ = -1;
}
