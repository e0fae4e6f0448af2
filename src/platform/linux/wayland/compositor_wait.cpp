#include "platform/linux/wayland/compositor_wait.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <wayland-client.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace {

void onDone(void* data, wl_callback*, uint32_t) { *static_cast<bool*>(data) = true; }

const wl_callback_listener kDoneListener = {onDone};

}  // namespace

std::string compositorName() {
    const char* name = std::getenv("WAYLAND_DISPLAY");
    return name && *name ? name : "wayland-0";
}

// libwayland's own connect waits without end for a place in the queue of a
// compositor that does not accept; this one waits as long as a send may.
wl_display* connectToCompositor() {
    if (const char* inherited = std::getenv("WAYLAND_SOCKET"); inherited && *inherited)
        return wl_display_connect(nullptr);
    std::string path = compositorName();
    if (path.front() != '/') {
        const char* runtime = std::getenv("XDG_RUNTIME_DIR");
        if (!runtime || *runtime != '/') return nullptr;
        path = std::string(runtime) + "/" + path;
    }
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof address.sun_path) return nullptr;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return nullptr;
    const auto ms = kCompositorAnswerTime.count();
    const timeval limit{static_cast<time_t>(ms / 1000), static_cast<suseconds_t>(ms % 1000 * 1000)};
    if (setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof limit) != 0 ||
        connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        close(fd);
        return nullptr;
    }
    return wl_display_connect_to_fd(fd);  // closes the socket when it fails
}

bool dispatchWithin(wl_display* display, int timeoutMs, std::span<pollfd> others) {
    while (wl_display_prepare_read(display) != 0)
        if (wl_display_dispatch_pending(display) < 0) return false;
    if (wl_display_flush(display) < 0 && errno != EAGAIN) {
        wl_display_cancel_read(display);
        return false;
    }
    std::array<pollfd, 4> waits{pollfd{wl_display_get_fd(display), POLLIN, 0}};
    const size_t count = 1 + std::min(others.size(), waits.size() - 1);
    std::copy_n(others.begin(), count - 1, waits.begin() + 1);
    if (poll(waits.data(), count, timeoutMs) > 0 && (waits[0].revents & (POLLIN | POLLERR | POLLHUP))) {
        if (wl_display_read_events(display) < 0) return false;
    } else {
        wl_display_cancel_read(display);
    }
    std::copy_n(waits.begin() + 1, count - 1, others.begin());
    return wl_display_dispatch_pending(display) >= 0;
}

RoundTrip roundTrip(wl_display* display) {
    bool answered = false;
    wl_callback* sync = wl_display_sync(display);
    wl_callback_add_listener(sync, &kDoneListener, &answered);
    const auto end = std::chrono::steady_clock::now() + kCompositorAnswerTime;
    RoundTrip result = RoundTrip::Answered;
    while (!answered && result == RoundTrip::Answered) {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(end - std::chrono::steady_clock::now());
        if (left.count() <= 0) result = RoundTrip::TimedOut;
        else if (!dispatchWithin(display, static_cast<int>(left.count()))) result = RoundTrip::Lost;
    }
    wl_callback_destroy(sync);
    return result;
}
