// The file helpers bring gtest, whose names Xlib's macros would break: first.
#include "platform_linux/temp_folder.h"
#include "wayland_session.h"

#include <linux/input-event-codes.h>
#include <signal.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <regex>
#include <thread>

#include "scratch_user.h"

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

// How long mutter may take to answer a call (ms): a loaded machine can keep it busy.
constexpr int kCallLimit = static_cast<int>(kPatience.count());

// A runtime folder of the user's own, as the session manager would make it.
std::string runtimeFolder(const std::string& folder) {
    const std::string runtime = folder + "/runtime";
    fs::create_directories(runtime);
    fs::permissions(runtime, fs::perms::owner_all);
    return runtime;
}

// The first socket in `folder` whose name starts with `prefix`; empty when none.
std::string socketStartingWith(const std::string& folder, const std::string& prefix) {
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(folder, error))
        if (entry.path().filename().string().rfind(prefix, 0) == 0 && entry.is_socket(error)) return entry.path();
    return {};
}

// A binary PPM (P6, maxval 255) as a screenshot; empty when it is not one.
Screenshot readPpm(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::string magic;
    int maximum = 0;
    Screenshot shot;
    in >> magic >> shot.width >> shot.height >> maximum;
    in.get();
    if (magic == "P6" && maximum == 255 && shot.width > 0 && shot.height > 0) {
        shot.rgb.resize(static_cast<size_t>(shot.width) * shot.height * 3);
        if (in.read(reinterpret_cast<char*>(shot.rgb.data()), static_cast<std::streamsize>(shot.rgb.size())))
            return shot;
    }
    return {};
}

// Ends a compositor gently (it takes its clients' connections down), else for good.
void stop(std::unique_ptr<Child>& child) {
    if (!child) return;
    child->signal(SIGTERM);
    child->waitFor(3000ms);
    child.reset();
}

}  // namespace

bool installed(const std::vector<std::string>& programs) {
    for (const std::string& program : programs)
        if (std::system(("command -v " + program + " >/dev/null").c_str()) != 0) return false;
    return true;
}

SwaySession::SwaySession(const std::vector<ScreenRect>& outputs) : folder_(reachableFolder("sway")) {
    if (folder_.empty()) return;
    runtime_ = runtimeFolder(folder_);
    // No Xwayland, no bar, no background program: only the outputs.
    std::ofstream(folder_ + "/config") << "xwayland disable\n";
    const auto asUser = asScratchUser(folder_);
    if (!asUser) return;
    std::vector<std::string> argv = *asUser;
    argv.insert(argv.end(), {"/usr/bin/sway", "-c", folder_ + "/config"});
    sway_ = std::make_unique<Child>(argv, std::map<std::string, std::string>{
                                              {"HOME", folder_},
                                              {"XDG_RUNTIME_DIR", runtime_},
                                              {"WLR_BACKENDS", "headless"},
                                              {"WLR_HEADLESS_OUTPUTS", std::to_string(outputs.size())},
                                              {"WLR_LIBINPUT_NO_DEVICES", "1"},
                                              // Drawn by the CPU: no GPU here, and exact pixels.
                                              {"WLR_RENDERER", "pixman"},
                                              {"DISPLAY", ""},
                                              {"WAYLAND_DISPLAY", ""}});
    const bool listening = waitUntil([&] {
        socket_ = socketStartingWith(runtime_, "wayland-");
        ipc_ = socketStartingWith(runtime_, "sway-ipc.");
        return !socket_.empty() && !ipc_.empty();
    });
    if (!listening) return;
    // Each output's place, settled once swaymsg returns.
    bool placed = true;
    for (size_t i = 0; i < outputs.size(); ++i) {
        const ScreenRect& r = outputs[i];
        char command[160];
        std::snprintf(command, sizeof command, "swaymsg output HEADLESS-%zu mode %dx%d position %d %d", i + 1,
                      r.width, r.height, r.left, r.top);
        placed = placed && run(command) == 0;
    }
    ready_ = placed;
}

SwaySession::~SwaySession() {
    stop(sway_);
    if (!folder_.empty()) fs::remove_all(folder_);
}

std::string SwaySession::errorOutput() { return sway_ ? sway_->errorOutput() : std::string(); }

std::map<std::string, std::string> SwaySession::environment() const {
    return {{"WAYLAND_DISPLAY", socket_}, {"XDG_RUNTIME_DIR", runtime_}, {"SWAYSOCK", ipc_}, {"DISPLAY", ""}};
}

Screenshot SwaySession::capture(const std::string& name) {
    const std::string file = folder_ + "/" + name + ".ppm";
    fs::remove(file);
    if (run("grim -t ppm -o " + name + " '" + file + "'") != 0) return {};
    return readPpm(file);
}

int SwaySession::run(const std::string& commandLine, std::string* output) {
    const std::string file = folder_ + "/output.txt";
    const std::string session =
        "env -u DISPLAY WAYLAND_DISPLAY='" + socket_ + "' XDG_RUNTIME_DIR='" + runtime_ + "' SWAYSOCK='" + ipc_ + "' ";
    const int status = std::system((session + commandLine + " >'" + file + "' 2>&1").c_str());
    if (output) *output = fileText(file);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

MutterSession::MutterSession(const std::vector<std::string>& monitors) : folder_(reachableFolder("mutter")) {
    if (folder_.empty()) return;
    runtime_ = runtimeFolder(folder_);
    address_ = "unix:path=" + folder_ + "/bus";
    const std::string& address = address_;
    bus_ = std::make_unique<Child>(
        std::vector<std::string>{"/usr/bin/dbus-daemon", "--session", "--nofork", "--nopidfile",
                                 "--address=" + address},
        std::map<std::string, std::string>{});
    std::vector<std::string> argv{"/usr/bin/mutter", "--headless", "--wayland", "--no-x11", "--wayland-display",
                                  "wayland-0"};
    for (const std::string& monitor : monitors) argv.insert(argv.end(), {"--virtual-monitor", monitor});
    mutter_ = std::make_unique<Child>(
        argv,
        std::map<std::string, std::string>{{"HOME", folder_},
                                           {"XDG_RUNTIME_DIR", runtime_},
                                           {"DBUS_SESSION_BUS_ADDRESS", address},
                                           {"DISPLAY", ""},
                                           {"WAYLAND_DISPLAY", ""}});
    // Ready once its remote-desktop service gives a session, started.
    waitUntil([&] {
        if (!connection_)
            connection_ = g_dbus_connection_new_for_address_sync(
                address.c_str(),
                static_cast<GDBusConnectionFlags>(G_DBUS_CONNECTION_FLAGS_AUTHENTICATION_CLIENT |
                                                  G_DBUS_CONNECTION_FLAGS_MESSAGE_BUS_CONNECTION),
                nullptr, nullptr, nullptr);
        if (!connection_) return false;
        GVariant* made = g_dbus_connection_call_sync(
            connection_, "org.gnome.Mutter.RemoteDesktop", "/org/gnome/Mutter/RemoteDesktop",
            "org.gnome.Mutter.RemoteDesktop", "CreateSession", nullptr, G_VARIANT_TYPE("(o)"), G_DBUS_CALL_FLAGS_NONE,
            kCallLimit, nullptr, nullptr);
        if (!made) return false;
        const gchar* path = nullptr;
        g_variant_get(made, "(&o)", &path);
        if (fs::exists(runtime_ + "/wayland-0")) remote_ = path;
        g_variant_unref(made);
        if (!remote_.empty() && !call("Start", nullptr)) remote_.clear();
        return !remote_.empty();
    }, kPatience, 100ms);
    // The virtual keyboard and pointer come with their first use: made
    // now, clients have them before the test's input.
    ready_ = !remote_.empty() && pressKey(KEY_LEFTSHIFT) && movePointer(0, 0);
}

MutterSession::~MutterSession() {
    if (!remote_.empty()) call("Stop", nullptr);
    if (connection_) {
        g_dbus_connection_close_sync(connection_, nullptr, nullptr);
        g_object_unref(connection_);
    }
    stop(mutter_);
    stop(bus_);
    if (!folder_.empty()) fs::remove_all(folder_);
}

std::string MutterSession::errorOutput() { return mutter_ ? mutter_->errorOutput() : std::string(); }

std::map<std::string, std::string> MutterSession::environment() const {
    return {{"WAYLAND_DISPLAY", runtime_ + "/wayland-0"}, {"XDG_RUNTIME_DIR", runtime_}, {"DISPLAY", ""}};
}

bool MutterSession::call(const char* method, GVariant* arguments) {
    GVariant* answer = g_dbus_connection_call_sync(connection_, "org.gnome.Mutter.RemoteDesktop", remote_.c_str(),
                                                   "org.gnome.Mutter.RemoteDesktop.Session", method, arguments,
                                                   nullptr, G_DBUS_CALL_FLAGS_NONE, kCallLimit, nullptr, nullptr);
    if (answer) g_variant_unref(answer);
    return answer != nullptr;
}

bool MutterSession::pressKey(uint32_t key) {
    return call("NotifyKeyboardKeycode", g_variant_new("(ub)", key, TRUE)) &&
           call("NotifyKeyboardKeycode", g_variant_new("(ub)", key, FALSE));
}

bool MutterSession::movePointer(double dx, double dy) {
    return call("NotifyPointerMotionRelative", g_variant_new("(dd)", dx, dy));
}

bool MutterSession::click(uint32_t button) {
    return call("NotifyPointerButton", g_variant_new("(ib)", static_cast<int32_t>(button), TRUE)) &&
           call("NotifyPointerButton", g_variant_new("(ib)", static_cast<int32_t>(button), FALSE));
}

bool MutterSession::layOut(const std::vector<std::string>& connectors) {
    const auto displayConfig = [this](const char* method, GVariant* arguments) {
        return g_dbus_connection_call_sync(connection_, "org.gnome.Mutter.DisplayConfig", "/org/gnome/Mutter/DisplayConfig",
                                           "org.gnome.Mutter.DisplayConfig", method, arguments, nullptr,
                                           G_DBUS_CALL_FLAGS_NONE, 5000, nullptr, nullptr);
    };
    GVariant* state = displayConfig("GetCurrentState", nullptr);
    gchar* printed = state ? g_variant_print(state, FALSE) : nullptr;
    const std::string text = printed ? printed : "";
    g_free(printed);
    if (state) g_variant_unref(state);
    // The state's serial, then each monitor in its first mode (a virtual
    // monitor's only one) beside the one before, the first one primary.
    std::smatch found;
    if (!std::regex_search(text, found, std::regex(R"(^\((\d+))"))) return false;
    std::string layout = "(uint32 " + found[1].str() + ", uint32 1, [";
    for (int x = 0; const std::string& connector : connectors) {
        if (!std::regex_search(text, found, std::regex("\\('" + connector + "', [^)]*\\), \\[\\('([^']+)', (\\d+),")))
            return false;
        layout += (x ? ", (" : "(") + std::to_string(x) + ", 0, 1.0, uint32 0, " + (x ? "false" : "true") + ", [('" +
                  connector + "', '" + found[1].str() + "', @a{sv} {})])";
        x += std::stoi(found[2].str());
    }
    GVariant* applied = displayConfig("ApplyMonitorsConfig", g_variant_new_parsed((layout + "], @a{sv} {})").c_str()));
    if (applied) g_variant_unref(applied);
    return applied != nullptr;
}

KwinSession::KwinSession() : folder_(reachableFolder("kwin")) {
    if (folder_.empty()) return;
    runtime_ = runtimeFolder(folder_);
    // Named as the original: KWin's own Qt platform plugin serves only a
    // program of that name.
    const std::string copy = folder_ + "/kwin_wayland";
    std::error_code error;
    if (!fs::copy_file("/usr/bin/kwin_wayland", copy, error)) return;
    kwin_ = std::make_unique<Child>(
        std::vector<std::string>{copy, "--virtual", "--socket", "wayland-0", "--no-lockscreen",
                                 "--no-global-shortcuts"},
        std::map<std::string, std::string>{{"HOME", folder_},
                                           {"XDG_RUNTIME_DIR", runtime_},
                                           {"DBUS_SESSION_BUS_ADDRESS", ""},
                                           {"DISPLAY", ""},
                                           {"WAYLAND_DISPLAY", ""}});
    for (int i = 0; i < 300 && !ready_ && kwin_->running(); ++i) {
        std::this_thread::sleep_for(100ms);
        ready_ = fs::exists(runtime_ + "/wayland-0");
    }
}

KwinSession::~KwinSession() {
    stop(kwin_);
    if (!folder_.empty()) fs::remove_all(folder_);
}

std::string KwinSession::errorOutput() { return kwin_ ? kwin_->errorOutput() : std::string(); }

std::map<std::string, std::string> KwinSession::environment() const {
    return {{"WAYLAND_DISPLAY", runtime_ + "/wayland-0"},
            {"XDG_RUNTIME_DIR", runtime_},
            {"DBUS_SESSION_BUS_ADDRESS", ""},
            {"DISPLAY", ""}};
}
