#include "platform/linux/wayland/output_surface.h"

#include <wayland-client.h>

#include <algorithm>
#include <climits>
#include <cstring>

#include "platform/linux/wayland/wayland_display.h"
#include "wlr-layer-shell-unstable-v1-client-protocol.h"
#include "xdg-shell-client-protocol.h"

namespace {

// The changed parts told to the compositor with one frame, at most: each is
// a request of 24 bytes, and the client library sends its requests in
// pieces of 4 KB, each of which wakes the compositor. Beyond this, the
// whole buffer is named instead, once.
constexpr size_t kMostDamagedParts = 150;

OutputSurface& surfaceOf(void* data) { return *static_cast<OutputSurface*>(data); }

void onLayerConfigure(void* data, zwlr_layer_surface_v1*, uint32_t serial, uint32_t width, uint32_t height) {
    surfaceOf(data).configure(serial, static_cast<int32_t>(std::min<uint32_t>(width, INT32_MAX)),
                              static_cast<int32_t>(std::min<uint32_t>(height, INT32_MAX)));
}

void onLayerClosed(void* data, zwlr_layer_surface_v1*) { surfaceOf(data).close(true); }

const zwlr_layer_surface_v1_listener kLayerListener = {onLayerConfigure, onLayerClosed};

void onToplevelConfigure(void* data, xdg_toplevel*, int32_t width, int32_t height, wl_array*) {
    surfaceOf(data).toplevelSize(width, height);
}

void onToplevelClose(void* data, xdg_toplevel*) { surfaceOf(data).close(false); }

// Bounds and capabilities come only from versions not bound.
const xdg_toplevel_listener kToplevelListener = {onToplevelConfigure, onToplevelClose, nullptr, nullptr};

void onXdgConfigure(void* data, xdg_surface*, uint32_t serial) { surfaceOf(data).configure(serial, 0, 0); }

const xdg_surface_listener kXdgSurfaceListener = {onXdgConfigure};

}  // namespace

OutputSurface::OutputSurface(const WaylandDisplay& display, const WaylandOutput& output, const ScreenRect& part,
                             const char* title)
    : display_(display), outputName_(output.name), part_(part),
      surface_(wl_compositor_create_surface(display.compositor())) {
    // Opaque: the compositor need not draw what lies beneath.
    wl_region* opaque = wl_compositor_create_region(display.compositor());
    wl_region_add(opaque, 0, 0, INT32_MAX, INT32_MAX);
    wl_surface_set_opaque_region(surface_, opaque);
    wl_region_destroy(opaque);
    if (display.layerShell()) {
        layerSurface_ = zwlr_layer_shell_v1_get_layer_surface(display.layerShell(), surface_, output.output,
                                                              ZWLR_LAYER_SHELL_V1_LAYER_OVERLAY, "lumara");
        zwlr_layer_surface_v1_add_listener(layerSurface_, &kLayerListener, this);
        // The whole output, over the room panels keep for themselves, and
        // every key.
        zwlr_layer_surface_v1_set_anchor(
            layerSurface_, ZWLR_LAYER_SURFACE_V1_ANCHOR_TOP | ZWLR_LAYER_SURFACE_V1_ANCHOR_BOTTOM |
                               ZWLR_LAYER_SURFACE_V1_ANCHOR_LEFT | ZWLR_LAYER_SURFACE_V1_ANCHOR_RIGHT);
        zwlr_layer_surface_v1_set_size(layerSurface_, 0, 0);
        zwlr_layer_surface_v1_set_exclusive_zone(layerSurface_, -1);
        zwlr_layer_surface_v1_set_keyboard_interactivity(layerSurface_,
                                                         ZWLR_LAYER_SURFACE_V1_KEYBOARD_INTERACTIVITY_EXCLUSIVE);
    } else {
        xdgSurface_ = xdg_wm_base_get_xdg_surface(display.wmBase(), surface_);
        xdg_surface_add_listener(xdgSurface_, &kXdgSurfaceListener, this);
        toplevel_ = xdg_surface_get_toplevel(xdgSurface_);
        xdg_toplevel_add_listener(toplevel_, &kToplevelListener, this);
        xdg_toplevel_set_title(toplevel_, title);
        xdg_toplevel_set_app_id(toplevel_, "lumara");
        xdg_toplevel_set_fullscreen(toplevel_, output.output);
    }
    // Without a buffer: the compositor answers with the size to draw at.
    wl_surface_commit(surface_);
}

OutputSurface::~OutputSurface() {
    if (layerSurface_) zwlr_layer_surface_v1_destroy(layerSurface_);
    if (toplevel_) xdg_toplevel_destroy(toplevel_);
    if (xdgSurface_) xdg_surface_destroy(xdgSurface_);
    wl_surface_destroy(surface_);
    // The buffers go after the surface that showed them.
    for (auto& buffer : buffers_) buffer.reset();
}

void OutputSurface::toplevelSize(int32_t width, int32_t height) {
    toplevelWidth_ = width;
    toplevelHeight_ = height;
}

// A size of 0 leaves it to the saver: the output's part of the frame.
void OutputSurface::configure(uint32_t serial, int32_t width, int32_t height) {
    if (toplevel_) {
        width = toplevelWidth_;
        height = toplevelHeight_;
    }
    if (width <= 0) width = part_.width;
    if (height <= 0) height = part_.height;
    if (layerSurface_) zwlr_layer_surface_v1_ack_configure(layerSurface_, serial);
    else xdg_surface_ack_configure(xdgSurface_, serial);
    if (configured_ && buffers_[0]->width() == width && buffers_[0]->height() == height) return;
    // Made here, once per size, so that no frame allocates.
    configured_ = false;
    for (auto& buffer : buffers_) {
        buffer = ShmBuffer::create(display_.shm(), width, height);
        if (!buffer) return;
    }
    configured_ = true;
    // Black at once, until the first frame arrives.
    handOver(*buffers_[0]);
    shownWhole_ = false;
}

void OutputSurface::close(bool byCompositor) {
    if (byCompositor) closed_ = true;
    else closeRequested_ = true;
}

ShmBuffer* OutputSurface::freeBuffer() const {
    if (!configured_ || closed_) return nullptr;
    for (const auto& buffer : buffers_)
        if (!buffer->busy()) return buffer.get();
    return nullptr;
}

bool OutputSurface::ready() const { return freeBuffer() != nullptr; }

FrameTarget OutputSurface::lend(int32_t width, int32_t height) const {
    ShmBuffer* buffer = freeBuffer();
    const bool whole = part_.left == 0 && part_.top == 0 && part_.width == width && part_.height == height;
    if (!buffer || !whole || buffer->width() != width || buffer->height() != height) return {};
    return buffer->frame();
}

void OutputSurface::show(const FrameTarget& frame, std::span<const FrameDamage::Rect> changed, bool whole) {
    if (!configured_ || closed_) return;
    whole = whole || !shownWhole_;
    for (const auto& lent : buffers_)
        if (!lent->busy() && !frame.empty() && frame.pixels == lent->frame().pixels) {  // drawn in place
            handOver(*lent, changed, whole);
            shownWhole_ = true;
            return;
        }
    ShmBuffer* buffer = freeBuffer();
    if (!buffer || frame.empty() || bytesPerPixel(frame.format) != 4) return;
    // The part, clipped to the frame and to the buffer.
    const int32_t left = std::clamp(part_.left, 0, frame.width), top = std::clamp(part_.top, 0, frame.height);
    const int32_t width = std::min({part_.width, frame.width - left, buffer->width()});
    const int32_t height = std::min({part_.height, frame.height - top, buffer->height()});
    const size_t rowBytes = static_cast<size_t>(std::max(width, 0)) * 4;
    for (int32_t y = 0; y < height; ++y) std::memcpy(buffer->row(y), frame.row(top + y) + size_t{4} * left, rowBytes);
    handOver(*buffer, changed, whole);
    shownWhole_ = true;
}

// The whole buffer, or each changed part that falls on this output, in the
// buffer's own coordinates.
void OutputSurface::handOver(ShmBuffer& buffer, std::span<const FrameDamage::Rect> changed, bool whole) {
    wl_surface_attach(surface_, buffer.buffer(), 0, 0);
    const bool inBuffer = wl_surface_get_version(surface_) >= WL_SURFACE_DAMAGE_BUFFER_SINCE_VERSION;
    const auto damage = [&](int32_t x, int32_t y, int32_t w, int32_t h) {
        if (inBuffer) wl_surface_damage_buffer(surface_, x, y, w, h);
        else wl_surface_damage(surface_, x, y, w, h);
    };
    if (whole || changed.size() > kMostDamagedParts) {
        damage(0, 0, buffer.width(), buffer.height());
    } else {
        for (const FrameDamage::Rect& r : changed) {
            const int32_t left = std::max(r.left - part_.left, 0), top = std::max(r.top - part_.top, 0);
            const int32_t right = std::min(r.left + r.width - part_.left, buffer.width());
            const int32_t bottom = std::min(r.top + r.height - part_.top, buffer.height());
            if (left < right && top < bottom) damage(left, top, right - left, bottom - top);
        }
    }
    wl_surface_commit(surface_);
    buffer.handOver();
}
