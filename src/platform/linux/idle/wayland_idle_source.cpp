#include "platform/linux/idle/wayland_idle_source.h"

#include <poll.h>
#include <wayland-client.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "ext-idle-notify-v1-client-protocol.h"
#include "idle-client-protocol.h"
#include "platform/linux/wayland/compositor_wait.h"

namespace {

class WaylandIdleSource final : public IdleSource {
public:
    explicit WaylandIdleSource(wl_display* display) : display_(display) {}
    ~WaylandIdleSource() override {
        if (notification_) ext_idle_notification_v1_destroy(notification_);
        if (timeout_) org_kde_kwin_idle_timeout_release(timeout_);
        if (notifier_) ext_idle_notifier_v1_destroy(notifier_);
        if (kdeIdle_) org_kde_kwin_idle_destroy(kdeIdle_);
        if (seat_) wl_seat_destroy(seat_);
        if (registry_) wl_registry_destroy(registry_);
        wl_display_disconnect(display_);
    }

    // Binds what the compositor offers; false when it has no idle protocol or seat.
    bool watch(uint32_t milliseconds) {
        registry_ = wl_display_get_registry(display_);
        wl_registry_add_listener(registry_, &kRegistry, this);
        if (roundTrip(display_) != RoundTrip::Answered || !seat_ || (!notifier_ && !kdeIdle_)) return false;
        if (notifier_) {
            notification_ = ext_idle_notifier_v1_get_idle_notification(notifier_, milliseconds, seat_);
            ext_idle_notification_v1_add_listener(notification_, &kNotification, this);
        } else {
            timeout_ = org_kde_kwin_idle_get_idle_timeout(kdeIdle_, seat_, milliseconds);
            org_kde_kwin_idle_timeout_add_listener(timeout_, &kTimeout, this);
        }
        return wl_display_flush(display_) >= 0;
    }

    const char* name() const override { return notifier_ ? "ext_idle_notifier_v1" : "org_kde_kwin_idle"; }
    int descriptor() const override { return wl_display_get_fd(display_); }
    bool idle() const override { return idle_; }
    uint32_t idlePeriod() const override { return period_; }

    // Reads only what is there: the watcher also wakes for its child.
    bool readEvents() override {
        if (wl_display_prepare_read(display_) == 0) {
            pollfd ready{descriptor(), POLLIN, 0};
            if (poll(&ready, 1, 0) > 0) {
                if (wl_display_read_events(display_) < 0) return false;
            } else {
                wl_display_cancel_read(display_);
            }
        }
        return wl_display_dispatch_pending(display_) >= 0 && (wl_display_flush(display_) >= 0 || errno == EAGAIN);
    }

private:
    void becameIdle() {
        idle_ = true;
        ++period_;
    }
    void resumed() { idle_ = false; }

    static void global(void* data, wl_registry* registry, uint32_t name, const char* interface, uint32_t) {
        auto* self = static_cast<WaylandIdleSource*>(data);
        if (!self->seat_ && std::strcmp(interface, wl_seat_interface.name) == 0)
            self->seat_ = static_cast<wl_seat*>(wl_registry_bind(registry, name, &wl_seat_interface, 1));
        else if (std::strcmp(interface, ext_idle_notifier_v1_interface.name) == 0)
            self->notifier_ = static_cast<ext_idle_notifier_v1*>(
                wl_registry_bind(registry, name, &ext_idle_notifier_v1_interface, 1));
        else if (std::strcmp(interface, org_kde_kwin_idle_interface.name) == 0)
            self->kdeIdle_ =
                static_cast<org_kde_kwin_idle*>(wl_registry_bind(registry, name, &org_kde_kwin_idle_interface, 1));
    }
    static void globalRemoved(void*, wl_registry*, uint32_t) {}
    static constexpr wl_registry_listener kRegistry{global, globalRemoved};
    // Functions rather than lambdas: a lambda in these initializers would
    // reach into the class before it is complete, which clang refuses.
    static void notifiedIdle(void* data, ext_idle_notification_v1*) { static_cast<WaylandIdleSource*>(data)->becameIdle(); }
    static void notifiedResumed(void* data, ext_idle_notification_v1*) { static_cast<WaylandIdleSource*>(data)->resumed(); }
    static void timedOut(void* data, org_kde_kwin_idle_timeout*) { static_cast<WaylandIdleSource*>(data)->becameIdle(); }
    static void timeoutResumed(void* data, org_kde_kwin_idle_timeout*) { static_cast<WaylandIdleSource*>(data)->resumed(); }
    static constexpr ext_idle_notification_v1_listener kNotification{notifiedIdle, notifiedResumed};
    static constexpr org_kde_kwin_idle_timeout_listener kTimeout{timedOut, timeoutResumed};

    wl_display* display_;
    wl_registry* registry_ = nullptr;
    wl_seat* seat_ = nullptr;
    ext_idle_notifier_v1* notifier_ = nullptr;
    org_kde_kwin_idle* kdeIdle_ = nullptr;
    ext_idle_notification_v1* notification_ = nullptr;
    org_kde_kwin_idle_timeout* timeout_ = nullptr;
    bool idle_ = false;
    uint32_t period_ = 0;
};

}  // namespace

std::unique_ptr<IdleSource> openWaylandIdle(uint32_t milliseconds) {
    const char* socket = std::getenv("WAYLAND_DISPLAY");
    if (!socket || !*socket) return nullptr;
    wl_display* display = connectToCompositor();
    if (!display) return nullptr;
    auto source = std::make_unique<WaylandIdleSource>(display);
    if (!source->watch(milliseconds)) return nullptr;
    return source;
}
