#include "platform/linux/session/single_instance.h"

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// "\0lumara-saver-<uid>-<session>": abstract, so it vanishes with the process.
socklen_t socketAddress(sockaddr_un& address, const std::string& session) {
    std::memset(&address, 0, sizeof address);
    address.sun_family = AF_UNIX;
    const std::string name = "lumara-saver-" + std::to_string(getuid()) + "-" + session;
    const size_t length = std::min(name.size(), sizeof address.sun_path - 1);
    std::memcpy(address.sun_path + 1, name.data(), length);
    return static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + length);
}

const char* x11Display() {
    const char* display = std::getenv("DISPLAY");
    return display ? display : "";
}

}  // namespace

SingleInstance::SingleInstance() : session_(x11Display()) {}

SingleInstance::~SingleInstance() {
    if (listener_ >= 0) close(listener_);
}

bool SingleInstance::claimOrRaiseRunning() {
    sockaddr_un address;
    const socklen_t length = socketAddress(address, session_);
    const auto deadline = std::chrono::steady_clock::now() + kAnswerDeadline;
    // Again while the other instance's queue is full, or while its name is
    // bound and not yet (or no longer) listened on, as it starts or ends.
    for (;;) {
        listener_ = socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
        if (listener_ < 0) return true;  // no sockets: run without the guard
        if (bind(listener_, reinterpret_cast<sockaddr*>(&address), length) == 0 &&
            listen(listener_, kPendingRequests) == 0)
            return true;
        const bool taken = errno == EADDRINUSE;
        close(listener_);
        listener_ = -1;
        if (!taken) return true;
        // Without blocking: a blocking connect to a full queue waits until
        // the other instance takes a request, for ever if it is stopped.
        const int peer = socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
        if (peer < 0) return false;
        const bool queued = connect(peer, reinterpret_cast<sockaddr*>(&address), length) == 0;
        close(peer);
        if (queued) return false;
        if (std::chrono::steady_clock::now() >= deadline) {
            requestTaken_ = false;
            return false;
        }
        poll(nullptr, 0, 10);
    }
}

int SingleInstance::handOverResult() const {
    if (requestTaken_) return 0;
    std::fputs("lumara: a saver already runs on this display but takes no requests (it is stopped or hangs); "
               "it was left as it is\n",
               stderr);
    return 1;
}

bool SingleInstance::raiseRequested() {
    if (listener_ < 0) return false;
    bool requested = false;
    for (int peer; (peer = accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC)) >= 0;) {
        close(peer);
        requested = true;
    }
    return requested;
}
