#pragma once
// The connection to the Wayland compositor and what it offers: the globals
// the saver binds and the outputs with their places in the compositor's
// layout. Pairs with what SdlHost asks of SDL's displays
// (SDL_GetDisplayBounds) and of X11 (x11_windows.h).
// Implements: the connection (WAYLAND_DISPLAY, as every Wayland client)
// and every wait on it bounded (compositor_wait.h),
// the compositor, shared memory, the layer shell and xdg-shell, the seats
// there are (wayland_seat.h binds them), and
// each output's rectangle from xdg-output (the layout's own units), else
// from the output's position and mode; outputs that come and go while it
// runs are reported to whoever listens.
// Leaves out: output scale (a frame pixel is a unit of the layout; the
// compositor enlarges it on scaled outputs) and transforms.
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "platform/linux/wayland/compositor_wait.h"
#include "saver/host_platform.h"

struct wl_compositor;
struct wl_display;
struct wl_output;
struct wl_registry;
struct wl_shm;
struct xdg_wm_base;
struct zwlr_layer_shell_v1;
struct zxdg_output_manager_v1;
struct zxdg_output_v1;

// One output of the compositor.
// A seat the compositor announced; WaylandSeat binds it, so that its
// listener is there for the first event.
struct SeatGlobal {
    uint32_t name = 0;
    uint32_t version = 0;
};

struct WaylandOutput {
    uint32_t name = 0;  // the registry's name for it
    wl_output* output = nullptr;
    zxdg_output_v1* xdgOutput = nullptr;
    ScreenRect layout;  // where it lies in the compositor's layout, once described

    // What the output says of itself, for compositors without xdg-output,
    // and what xdg-output says.
    int32_t x = 0, y = 0, modeWidth = 0, modeHeight = 0, scale = 1;
    ScreenRect logical;
    bool logicalPosition = false, logicalSize = false;
};

class WaylandDisplay {
public:
    // Connects to the compositor the environment names and learns its
    // globals and outputs; connected() tells whether it could.
    WaylandDisplay();
    ~WaylandDisplay();
    WaylandDisplay(const WaylandDisplay&) = delete;
    WaylandDisplay& operator=(const WaylandDisplay&) = delete;

    // False with a reason for a person, naming the compositor, when there
    // is none to use: none there, or it failed to answer in time or closed
    // the connection, at the start or since.
    bool connected() const { return failure_.empty(); }
    const std::string& failure() const { return failure_; }

    // Waits for the compositor to answer everything asked so far
    // (compositor_wait.h); false, and no longer connected, when it did not.
    bool roundTrip();
    // Handles what the compositor sent, waiting up to `timeoutMs` for it or
    // for one of `others`; false, and no longer connected, once it is gone.
    bool dispatch(int timeoutMs, std::span<pollfd> others);

    wl_display* display() const { return display_; }
    wl_compositor* compositor() const { return compositor_; }
    wl_shm* shm() const { return shm_; }
    zwlr_layer_shell_v1* layerShell() const { return layerShell_; }
    xdg_wm_base* wmBase() const { return wmBase_; }
    wl_registry* registry() const { return registry_; }
    const std::vector<SeatGlobal>& seats() const { return seats_; }
    const std::vector<std::unique_ptr<WaylandOutput>>& outputs() const { return outputs_; }

    // The rectangle around every described output; empty without one.
    ScreenRect bounds() const;
    // A name for this session: the compositor's socket.
    std::string sessionName() const;

    // Told of an output announced after the connection was made and of
    // one about to go away.
    std::function<void(WaylandOutput&)> outputAdded;
    std::function<void(WaylandOutput&)> outputRemoved;

    // Registry and output events (the protocol's listeners call these).
    void addGlobal(wl_registry* registry, uint32_t name, const char* interface, uint32_t version);
    void removeGlobal(uint32_t name);
    // The output's rectangle from what it has said so far.
    static void describe(WaylandOutput& output);

private:
    bool answered(RoundTrip result);
    void watchLayout(WaylandOutput& output);

    std::string failure_;
    wl_display* display_ = nullptr;
    wl_registry* registry_ = nullptr;
    wl_compositor* compositor_ = nullptr;
    wl_shm* shm_ = nullptr;
    xdg_wm_base* wmBase_ = nullptr;
    zwlr_layer_shell_v1* layerShell_ = nullptr;
    zxdg_output_manager_v1* outputManager_ = nullptr;
    std::vector<SeatGlobal> seats_;
    std::vector<std::unique_ptr<WaylandOutput>> outputs_;
    bool settled_ = false;  // the first outputs are known; later ones are reported
};
