#pragma once
// The messages of a Linux host's one saver window, as SdlHost and
// WaylandHost both deliver them: to the window's procedure from its
// creation on, sent at once or posted and delivered in order by the host's
// message loop, until the quit that ends the loop.
// Leaves out: more than one window, and waiting: each host's loop waits on
// its own connection and turns what comes into messages here.
#include <cstdint>
#include <deque>
#include <utility>

#include "saver/host_platform.h"

class WindowQueue {
public:
    // From now on `window`'s messages go to `procedure`.
    void open(WindowHandle window, WindowProcedure& procedure);
    // The window is gone: nothing more is delivered to it.
    void close() { window_ = 0; }
    WindowHandle window() const { return window_; }

    // Delivered at once.
    void deliver(const Message& message);
    intptr_t send(WindowHandle window, const Message& message);
    // Delivered in order by deliverPosted.
    void post(WindowHandle window, const Message& message) { posted_.emplace_back(window, message); }
    // Delivers the oldest posted message, or drops it when it is for
    // another window or the host's window is no longer there; false when
    // none was waiting.
    bool deliverPosted(bool windowThere = true);

    // Ends the loop with `code` as the run's exit code.
    void quit(int code);
    bool quitting() const { return quit_; }
    // The loop has ended: nothing more is delivered; the run's exit code.
    int end();

private:
    WindowProcedure* procedure_ = nullptr;
    WindowHandle window_ = 0;
    std::deque<std::pair<WindowHandle, Message>> posted_;
    bool quit_ = false;
    int quitCode_ = 0;
};
