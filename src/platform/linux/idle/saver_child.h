#pragma once
// The full-screen saver as the idle watcher's child: this very program
// (/proc/self/exe) with "/s", in the watcher's environment, so the saver
// runs on the display system the session has. Its end is seen through a
// process descriptor the watcher waits on beside its source's; however it
// ends (input, a crash, a kill), the watcher watches again.
#include <sys/types.h>

class SaverChild {
public:
    SaverChild() = default;
    SaverChild(const SaverChild&) = delete;
    SaverChild& operator=(const SaverChild&) = delete;
    ~SaverChild();

    // False, with a line on stderr, when it could not be started.
    bool start();
    bool running() const { return pid_ > 0; }
    // Readable once the saver has ended; -1 while none runs.
    int descriptor() const { return descriptor_; }
    // Collects the ended saver.
    void reap();

private:
    pid_t pid_ = -1;
    int descriptor_ = -1;
};
