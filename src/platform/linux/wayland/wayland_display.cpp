#include "platform/linux/wayland/wayland_display.h"

#include <wayland-client.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>

#include "wlr-layer-shell-unstable-v1-client-protocol.h"
#include "xdg-output-unstable-v1-client-protocol.h"
#include "xdg-shell-client-protocol.h"

namespace {

// The versions whose events the listeners below answer.
constexpr uint32_t kCompositorVersion = 4;
constexpr uint32_t kOutputVersion = 3;
constexpr uint32_t kLayerShellVersion = 4;
constexpr uint32_t kWmBaseVersion = 2;
constexpr uint32_t kOutputManagerVersion = 3;

template <typename T>
T* bind(wl_registry* registry, uint32_t name, const wl_interface& interface, uint32_t offered, uint32_t known) {
    return static_cast<T*>(wl_registry_bind(registry, name, &interface, std::min(offered, known)));
}

WaylandOutput& outputOf(void* data) { return *static_cast<WaylandOutput*>(data); }

void onGeometry(void* data, wl_output*, int32_t x, int32_t y, int32_t, int32_t, int32_t, const char*, const char*,
                int32_t) {
    outputOf(data).x = x;
    outputOf(data).y = y;
}

void onMode(void* data, wl_output*, uint32_t flags, int32_t width, int32_t height, int32_t) {
    if (!(flags & WL_OUTPUT_MODE_CURRENT)) return;
    outputOf(data).modeWidth = width;
    outputOf(data).modeHeight = height;
}

void onOutputDone(void* data, wl_output*) { WaylandDisplay::describe(outputOf(data)); }

void onScale(void* data, wl_output*, int32_t factor) { outputOf(data).scale = std::max(factor, 1); }

// Names and descriptions come only from versions not bound.
const wl_output_listener kOutputListener = {onGeometry, onMode, onOutputDone, onScale, nullptr, nullptr};

void onLogicalPosition(void* data, zxdg_output_v1*, int32_t x, int32_t y) {
    WaylandOutput& output = outputOf(data);
    output.logical.left = x;
    output.logical.top = y;
    output.logicalPosition = true;
}

void onLogicalSize(void* data, zxdg_output_v1*, int32_t width, int32_t height) {
    WaylandOutput& output = outputOf(data);
    output.logical.width = width;
    output.logical.height = height;
    output.logicalSize = true;
}

// Version 3 leaves "done" to the output itself; earlier ones send it here.
void onXdgDone(void* data, zxdg_output_v1*) { WaylandDisplay::describe(outputOf(data)); }
void onXdgName(void*, zxdg_output_v1*, const char*) {}
void onXdgDescription(void*, zxdg_output_v1*, const char*) {}

const zxdg_output_v1_listener kXdgOutputListener = {onLogicalPosition, onLogicalSize, onXdgDone, onXdgName,
                                                    onXdgDescription};

// The compositor asks every xdg-shell client whether it still answers.
void onPing(void*, xdg_wm_base* base, uint32_t serial) { xdg_wm_base_pong(base, serial); }

const xdg_wm_base_listener kWmBaseListener = {onPing};

void onGlobal(void* data, wl_registry* registry, uint32_t name, const char* interface, uint32_t version) {
    static_cast<WaylandDisplay*>(data)->addGlobal(registry, name, interface, version);
}

void onGlobalRemove(void* data, wl_registry*, uint32_t name) { static_cast<WaylandDisplay*>(data)->removeGlobal(name); }

const wl_registry_listener kRegistryListener = {onGlobal, onGlobalRemove};

void destroyOutput(WaylandOutput& output) {
    if (output.xdgOutput) zxdg_output_v1_destroy(output.xdgOutput);
    if (wl_output_get_version(output.output) >= WL_OUTPUT_RELEASE_SINCE_VERSION) wl_output_release(output.output);
    else wl_output_destroy(output.output);
}

}  // namespace

WaylandDisplay::WaylandDisplay() : display_(connectToCompositor()) {
    if (!display_) {
        failure_ = "wayland: no compositor answers at " + compositorName();
        return;
    }
    registry_ = wl_display_get_registry(display_);
    wl_registry_add_listener(registry_, &kRegistryListener, this);
    // The globals, then what the outputs say of themselves.
    if (!roundTrip() || !roundTrip()) return;
    settled_ = true;
    if (!compositor_ || !shm_) failure_ = "wayland: the compositor offers no shared-memory surfaces";
    else if (!layerShell_ && !wmBase_) failure_ = "wayland: the compositor offers neither layer-shell nor xdg-shell";
}

bool WaylandDisplay::roundTrip() { return connected() && answered(::roundTrip(display_)); }

bool WaylandDisplay::dispatch(int timeoutMs, std::span<pollfd> others) {
    return connected() && (dispatchWithin(display_, timeoutMs, others) || answered(RoundTrip::Lost));
}

// The first failure is the one said.
bool WaylandDisplay::answered(RoundTrip result) {
    if (!connected()) return false;
    if (result == RoundTrip::TimedOut)
        failure_ = "wayland: the compositor at " + compositorName() + " did not answer within " +
                   std::to_string(kCompositorAnswerTime.count() / 1000) + " s";
    else if (result == RoundTrip::Lost)
        failure_ = "wayland: the compositor at " + compositorName() + " closed the connection";
    return result == RoundTrip::Answered;
}

WaylandDisplay::~WaylandDisplay() {
    if (!display_) return;
    for (const auto& output : outputs_) destroyOutput(*output);
    if (outputManager_) zxdg_output_manager_v1_destroy(outputManager_);
    if (layerShell_) {
        if (zwlr_layer_shell_v1_get_version(layerShell_) >= ZWLR_LAYER_SHELL_V1_DESTROY_SINCE_VERSION)
            zwlr_layer_shell_v1_destroy(layerShell_);
        else wl_proxy_destroy(reinterpret_cast<wl_proxy*>(layerShell_));
    }
    if (wmBase_) xdg_wm_base_destroy(wmBase_);
    if (shm_) wl_shm_destroy(shm_);
    if (compositor_) wl_compositor_destroy(compositor_);
    if (registry_) wl_registry_destroy(registry_);
    wl_display_disconnect(display_);
}

void WaylandDisplay::addGlobal(wl_registry* registry, uint32_t name, const char* interface, uint32_t version) {
    const std::string_view kind = interface;
    if (kind == wl_compositor_interface.name) {
        compositor_ = bind<wl_compositor>(registry, name, wl_compositor_interface, version, kCompositorVersion);
    } else if (kind == wl_shm_interface.name) {
        shm_ = bind<wl_shm>(registry, name, wl_shm_interface, version, 1);
    } else if (kind == wl_seat_interface.name) {
        seats_.push_back({name, version});
    } else if (kind == zwlr_layer_shell_v1_interface.name) {
        layerShell_ =
            bind<zwlr_layer_shell_v1>(registry, name, zwlr_layer_shell_v1_interface, version, kLayerShellVersion);
    } else if (kind == xdg_wm_base_interface.name) {
        wmBase_ = bind<xdg_wm_base>(registry, name, xdg_wm_base_interface, version, kWmBaseVersion);
        xdg_wm_base_add_listener(wmBase_, &kWmBaseListener, this);
    } else if (kind == zxdg_output_manager_v1_interface.name) {
        outputManager_ = bind<zxdg_output_manager_v1>(registry, name, zxdg_output_manager_v1_interface, version,
                                                      kOutputManagerVersion);
        for (const auto& output : outputs_) watchLayout(*output);
    } else if (kind == wl_output_interface.name) {
        auto output = std::make_unique<WaylandOutput>();
        output->name = name;
        output->output = bind<wl_output>(registry, name, wl_output_interface, version, kOutputVersion);
        wl_output_add_listener(output->output, &kOutputListener, output.get());
        watchLayout(*output);
        outputs_.push_back(std::move(output));
        if (settled_ && outputAdded) outputAdded(*outputs_.back());
    }
}

void WaylandDisplay::watchLayout(WaylandOutput& output) {
    if (!outputManager_ || output.xdgOutput) return;
    output.xdgOutput = zxdg_output_manager_v1_get_xdg_output(outputManager_, output.output);
    zxdg_output_v1_add_listener(output.xdgOutput, &kXdgOutputListener, &output);
}

void WaylandDisplay::removeGlobal(uint32_t name) {
    const auto found =
        std::find_if(outputs_.begin(), outputs_.end(), [name](const auto& o) { return o->name == name; });
    if (found == outputs_.end()) return;
    if (outputRemoved) outputRemoved(**found);
    destroyOutput(**found);
    outputs_.erase(found);
}

// xdg-output gives the rectangle in the layout's units; without it the
// output's position and its mode shrunk by its scale come closest.
void WaylandDisplay::describe(WaylandOutput& output) {
    output.layout = {output.logicalPosition ? output.logical.left : output.x,
                     output.logicalPosition ? output.logical.top : output.y,
                     output.logicalSize ? output.logical.width : output.modeWidth / output.scale,
                     output.logicalSize ? output.logical.height : output.modeHeight / output.scale};
}

ScreenRect WaylandDisplay::bounds() const {
    bool any = false;
    int64_t left = 0, top = 0, right = 0, bottom = 0;
    for (const auto& output : outputs_) {
        const ScreenRect& r = output->layout;
        if (r.width <= 0 || r.height <= 0) continue;
        left = any ? std::min<int64_t>(left, r.left) : r.left;
        top = any ? std::min<int64_t>(top, r.top) : r.top;
        right = any ? std::max<int64_t>(right, int64_t{r.left} + r.width) : int64_t{r.left} + r.width;
        bottom = any ? std::max<int64_t>(bottom, int64_t{r.top} + r.height) : int64_t{r.top} + r.height;
        any = true;
    }
    const auto clamp = [](int64_t v) { return static_cast<int32_t>(std::clamp<int64_t>(v, 0, INT32_MAX)); };
    return any ? ScreenRect{static_cast<int32_t>(left), static_cast<int32_t>(top), clamp(right - left),
                            clamp(bottom - top)}
               : ScreenRect{};
}

std::string WaylandDisplay::sessionName() const {
    const std::string socket = compositorName();
    if (socket.front() == '/') return socket;
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    return std::string(runtime ? runtime : "") + "/" + socket;
}
