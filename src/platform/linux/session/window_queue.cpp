#include "platform/linux/session/window_queue.h"

void WindowQueue::open(WindowHandle window, WindowProcedure& procedure) {
    window_ = window;
    procedure_ = &procedure;
}

void WindowQueue::deliver(const Message& message) {
    if (procedure_ && window_) procedure_->windowProc(window_, message);
}

intptr_t WindowQueue::send(WindowHandle window, const Message& message) {
    return procedure_ && window_ && window == window_ ? procedure_->windowProc(window, message) : 0;
}

bool WindowQueue::deliverPosted(bool windowThere) {
    if (posted_.empty()) return false;
    const auto [window, message] = posted_.front();
    posted_.pop_front();
    if (window == window_ && windowThere) deliver(message);
    return true;
}

void WindowQueue::quit(int code) {
    quit_ = true;
    quitCode_ = code;
}

int WindowQueue::end() {
    procedure_ = nullptr;
    return quitCode_;
}
