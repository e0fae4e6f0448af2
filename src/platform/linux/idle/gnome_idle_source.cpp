#include "platform/linux/idle/gnome_idle_source.h"

#include <dbus/dbus.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

namespace {

constexpr const char* kMonitor = "org.gnome.Mutter.IdleMonitor";
constexpr const char* kMonitorPath = "/org/gnome/Mutter/IdleMonitor/Core";
constexpr const char* kSessionManager = "org.gnome.SessionManager";
constexpr uint32_t kInhibitIdle = 8;  // GsmInhibitorFlag: "inhibit the session being marked as idle"

// A method call's reply, or null when the call failed; waits up to 5 s.
DBusMessage* call(DBusConnection* bus, DBusMessage* message) {
    dbus_message_set_auto_start(message, FALSE);  // a service that is not running stays so
    DBusMessage* reply = dbus_connection_send_with_reply_and_block(bus, message, 5000, nullptr);
    dbus_message_unref(message);
    return reply;
}

// The one uint32 a reply or signal carries; false when it carries none.
bool readUint32(DBusMessage* message, uint32_t& value) {
    dbus_uint32_t read = 0;
    if (!message || !dbus_message_get_args(message, nullptr, DBUS_TYPE_UINT32, &read, DBUS_TYPE_INVALID)) return false;
    value = read;
    return true;
}

class GnomeIdleSource final : public IdleSource {
public:
    explicit GnomeIdleSource(DBusConnection* bus) : bus_(bus) {}
    ~GnomeIdleSource() override {
        dbus_connection_close(bus_);
        dbus_connection_unref(bus_);
    }

    // False when the monitor does not answer.
    bool watch(uint32_t milliseconds) {
        milliseconds_ = milliseconds;
        dbus_bus_add_match(bus_,
                           "type='signal',interface='org.gnome.Mutter.IdleMonitor',member='WatchFired',"
                           "path='/org/gnome/Mutter/IdleMonitor/Core'",
                           nullptr);
        dbus_bus_add_match(bus_,
                           "type='signal',sender='org.freedesktop.DBus',member='NameOwnerChanged',"
                           "arg0='org.gnome.Mutter.IdleMonitor'",
                           nullptr);
        return addIdleWatch();
    }

    const char* name() const override { return "org.gnome.Mutter.IdleMonitor"; }
    int descriptor() const override {
        int fd = -1;
        return dbus_connection_get_unix_fd(bus_, &fd) ? fd : -1;
    }
    bool idle() const override { return idle_; }
    uint32_t idlePeriod() const override { return period_; }

    bool readEvents() override {
        if (!dbus_connection_read_write(bus_, 0)) return false;
        handleQueued();
        return connected_ && dbus_connection_get_is_connected(bus_);
    }

    bool inhibited() override {
        DBusMessage* ask =
            dbus_message_new_method_call(kSessionManager, "/org/gnome/SessionManager", kSessionManager, "IsInhibited");
        const dbus_uint32_t flags = kInhibitIdle;
        dbus_message_append_args(ask, DBUS_TYPE_UINT32, &flags, DBUS_TYPE_INVALID);
        DBusMessage* reply = call(bus_, ask);
        dbus_bool_t inhibited = FALSE;
        // No session manager (a bare mutter): nothing can inhibit.
        if (reply) {
            if (!dbus_message_get_args(reply, nullptr, DBUS_TYPE_BOOLEAN, &inhibited, DBUS_TYPE_INVALID))
                inhibited = FALSE;
            dbus_message_unref(reply);
        }
        handleQueued();
        return inhibited;
    }

private:
    bool addIdleWatch() {
        idle_ = false;
        activeWatch_ = 0;
        DBusMessage* add = dbus_message_new_method_call(kMonitor, kMonitorPath, kMonitor, "AddIdleWatch");
        const dbus_uint64_t interval = milliseconds_;
        dbus_message_append_args(add, DBUS_TYPE_UINT64, &interval, DBUS_TYPE_INVALID);
        return addWatch(add, idleWatch_);
    }

    bool addWatch(DBusMessage* add, uint32_t& id) {
        DBusMessage* reply = call(bus_, add);
        const bool added = readUint32(reply, id);
        if (reply) dbus_message_unref(reply);
        return added;
    }

    // The signals that came, also those queued while a call waited for its reply.
    void handleQueued() {
        while (DBusMessage* message = dbus_connection_pop_message(bus_)) {
            uint32_t id = 0;
            if (dbus_message_is_signal(message, DBUS_INTERFACE_LOCAL, "Disconnected"))
                connected_ = false;
            else if (dbus_message_is_signal(message, kMonitor, "WatchFired") && readUint32(message, id))
                watchFired(id);
            else if (dbus_message_is_signal(message, DBUS_INTERFACE_DBUS, "NameOwnerChanged"))
                monitorReplaced(message);
            dbus_message_unref(message);
        }
    }

    // The idle watch fires at each idle period; a user-active watch fires
    // once, at the next input, and is then gone.
    void watchFired(uint32_t id) {
        if (id == idleWatch_ && !idle_) {
            idle_ = true;
            ++period_;
            addWatch(dbus_message_new_method_call(kMonitor, kMonitorPath, kMonitor, "AddUserActiveWatch"),
                     activeWatch_);
        } else if (id == activeWatch_ && activeWatch_ != 0) {
            idle_ = false;
            activeWatch_ = 0;
        }
    }

    // A compositor that restarts (GNOME Shell on X11 does) has lost the
    // watches: they are added anew to the new one.
    void monitorReplaced(DBusMessage* message) {
        const char *name = nullptr, *before = nullptr, *after = nullptr;
        if (dbus_message_get_args(message, nullptr, DBUS_TYPE_STRING, &name, DBUS_TYPE_STRING, &before,
                                  DBUS_TYPE_STRING, &after, DBUS_TYPE_INVALID) &&
            *after)
            addIdleWatch();
    }

    DBusConnection* bus_;
    uint32_t milliseconds_ = 0;
    uint32_t idleWatch_ = 0, activeWatch_ = 0;
    bool idle_ = false, connected_ = true;
    uint32_t period_ = 0;
};

}  // namespace

std::unique_ptr<IdleSource> openGnomeIdle(uint32_t milliseconds) {
    // Only a bus the session has: without one libdbus would launch a bus of
    // its own for the X display, where no idle monitor can be.
    const char* address = std::getenv("DBUS_SESSION_BUS_ADDRESS");
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if ((!address || !*address) && (!runtime || access((std::string(runtime) + "/bus").c_str(), F_OK) != 0))
        return nullptr;
    DBusConnection* bus = dbus_bus_get_private(DBUS_BUS_SESSION, nullptr);
    if (!bus) return nullptr;
    // Its going away is the watcher's to handle, not a reason to exit.
    dbus_connection_set_exit_on_disconnect(bus, FALSE);
    auto source = std::make_unique<GnomeIdleSource>(bus);
    if (!dbus_bus_name_has_owner(bus, kMonitor, nullptr) || !source->watch(milliseconds)) return nullptr;
    return source;
}
