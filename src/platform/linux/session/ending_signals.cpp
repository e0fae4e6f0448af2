#include "platform/linux/session/ending_signals.h"

#include <signal.h>

#include <csignal>

namespace {

volatile std::sig_atomic_t noted = 0;

void note(int number) { noted = number; }

}  // namespace

void noteEndingSignals() {
    struct sigaction noting {};
    noting.sa_handler = note;
    sigemptyset(&noting.sa_mask);
    sigaction(SIGTERM, &noting, nullptr);
    sigaction(SIGINT, &noting, nullptr);
}

int endingSignal() { return noted; }
