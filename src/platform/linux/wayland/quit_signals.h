#pragma once
// SIGTERM and SIGINT as a request to close the saver, which the Wayland
// host's message loop waits for beside the compositor. Pairs with SDL's
// own handler on X11, which turns them into its quit event: the saver ends
// the same way as after a key, with 0, its sound stopped.
// Implements: the two signals held back from this process's threads from
// construction on and read from a signalfd; released again at destruction.
// Leaves out: any other signal.
#include <signal.h>

class QuitSignals {
public:
    QuitSignals();
    ~QuitSignals();
    QuitSignals(const QuitSignals&) = delete;
    QuitSignals& operator=(const QuitSignals&) = delete;

    // The descriptor to wait on; readable once a signal came.
    int fd() const { return fd_; }
    // Takes the signals that came; true when there was one.
    bool take();

private:
    sigset_t previous_;
    int fd_ = -1;
};
