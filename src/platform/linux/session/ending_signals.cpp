#include "platform/linux/session/ending_signals.h"

#include <signal.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdint>

namespace {

volatile std::sig_atomic_t noted = 0;
int wakeDescriptor = -1;

void note(int number) {
    noted = number;
    if (wakeDescriptor >= 0) {
        const int saved = errno;
        const uint64_t one = 1;
        [[maybe_unused]] const ssize_t written = write(wakeDescriptor, &one, sizeof one);
        errno = saved;
    }
}

}  // namespace

void noteEndingSignals() {
    if (wakeDescriptor < 0) wakeDescriptor = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    struct sigaction noting {};
    noting.sa_handler = note;
    sigemptyset(&noting.sa_mask);
    sigaction(SIGTERM, &noting, nullptr);
    sigaction(SIGINT, &noting, nullptr);
}

int endingSignal() { return noted; }

int endingSignalDescriptor() { return wakeDescriptor; }
