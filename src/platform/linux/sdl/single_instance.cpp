#include "platform/linux/sdl/single_instance.h"

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <string>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

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
    listener_ = socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (listener_ < 0) return true;  // no sockets: run without the guard
    if (bind(listener_, reinterpret_cast<sockaddr*>(&address), length) == 0 && listen(listener_, 4) == 0)
        return true;
    const bool taken = errno == EADDRINUSE;
    close(listener_);
    listener_ = -1;
    if (!taken) return true;
    const int peer = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (peer >= 0) {
        (void)!connect(peer, reinterpret_cast<sockaddr*>(&address), length);
        close(peer);
    }
    return false;
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
