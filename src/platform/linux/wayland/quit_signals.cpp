#include "platform/linux/wayland/quit_signals.h"

#include <pthread.h>
#include <sys/signalfd.h>
#include <unistd.h>

namespace {

sigset_t quitSignals() {
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGTERM);
    sigaddset(&set, SIGINT);
    return set;
}

}  // namespace

// Held back before the sound's threads start, which inherit the mask, so
// that the signal waits in the descriptor instead of ending the process.
QuitSignals::QuitSignals() {
    const sigset_t set = quitSignals();
    pthread_sigmask(SIG_BLOCK, &set, &previous_);
    fd_ = signalfd(-1, &set, SFD_NONBLOCK | SFD_CLOEXEC);
}

QuitSignals::~QuitSignals() {
    if (fd_ >= 0) close(fd_);
    pthread_sigmask(SIG_SETMASK, &previous_, nullptr);
}

bool QuitSignals::take() {
    signalfd_siginfo info;
    bool came = false;
    while (fd_ >= 0 && read(fd_, &info, sizeof info) == static_cast<ssize_t>(sizeof info)) came = true;
    return came;
}
