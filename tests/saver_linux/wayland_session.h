#pragma once
// Real Wayland compositors for one test, headless and without Xwayland:
// sway (wlroots: the layer shell) with outputs where the test puts them,
// run as the scratch user under root, as sway refuses root; and GNOME's
// mutter (no layer shell: full-screen toplevels) on a bus of its own; KDE's
// KWin (the standard idle protocol). And
// what a person would do there: look at an output (grim, which needs
// wlroots), press a key (wtype on sway, mutter's remote-desktop service),
// move the pointer and click (mutter's remote-desktop service).
#include <gio/gio.h>

#include <chrono>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "saver/host_platform.h"
#include "x11_session.h"

// Whether the programs a session needs are installed.
bool installed(const std::vector<std::string>& programs);

class SwaySession {
public:
    // Outputs HEADLESS-1, HEADLESS-2, ... at these places of the layout.
    explicit SwaySession(const std::vector<ScreenRect>& outputs);
    ~SwaySession();
    SwaySession(const SwaySession&) = delete;
    SwaySession& operator=(const SwaySession&) = delete;

    bool ready() const { return ready_; }
    std::string errorOutput();  // sway's, for a failed test
    // A client's environment in this session: its socket, no X11 display.
    std::map<std::string, std::string> environment() const;

    // What output `name` shows now (grim); empty when it cannot be read.
    Screenshot capture(const std::string& name);
    // Runs a program of the session (wtype, swaymsg) with these arguments:
    // its exit status, and what it printed in `output` when given.
    int run(const std::string& commandLine, std::string* output = nullptr);

private:
    std::string folder_;   // config, home and runtime folder, reachable by the scratch user
    std::string runtime_;  // XDG_RUNTIME_DIR
    std::string socket_;   // the compositor's, a full path
    std::string ipc_;      // sway's command socket
    std::unique_ptr<Child> sway_;
    bool ready_ = false;
};

class MutterSession {
public:
    // Virtual monitors of these sizes ("1920x1080"), side by side.
    explicit MutterSession(const std::vector<std::string>& monitors);
    ~MutterSession();
    MutterSession(const MutterSession&) = delete;
    MutterSession& operator=(const MutterSession&) = delete;

    bool ready() const { return ready_; }
    std::string errorOutput();
    std::map<std::string, std::string> environment() const;
    // The bus mutter serves its idle monitor on, as DBUS_SESSION_BUS_ADDRESS.
    // Left out of environment(): GTK there would look for portals on it.
    const std::string& busAddress() const { return address_; }

    // Input through mutter's remote-desktop session, as a remote person's:
    // a key by its evdev code, pressed and released; pointer motion; a
    // button (evdev code) clicked. False when mutter did not take it.
    bool pressKey(uint32_t key);
    bool movePointer(double dx, double dy);
    bool click(uint32_t button);
    // Lays these monitors ("Meta-0" is the first made) side by side and the
    // others out, as GNOME's display settings would: their outputs go.
    bool layOut(const std::vector<std::string>& connectors);

private:
    bool call(const char* method, GVariant* arguments);

    std::string folder_;
    std::string runtime_;
    std::string address_;  // the bus's
    std::unique_ptr<Child> bus_;
    std::unique_ptr<Child> mutter_;
    GDBusConnection* connection_ = nullptr;
    std::string remote_;  // the remote-desktop session's object path
    bool ready_ = false;
};

// KDE's compositor, headless (--virtual), as root: a copy of kwin_wayland,
// which leaves behind the capability the installed binary carries and a
// container may refuse to grant.
class KwinSession {
public:
    KwinSession();
    ~KwinSession();
    KwinSession(const KwinSession&) = delete;
    KwinSession& operator=(const KwinSession&) = delete;

    bool ready() const { return ready_; }
    std::string errorOutput();
    std::map<std::string, std::string> environment() const;

private:
    std::string folder_;
    std::string runtime_;
    std::unique_ptr<Child> kwin_;
    bool ready_ = false;
};
