#include "platform/linux/wayland/output_surface.h"

#include <wayland-client.h>

#include <algorithm>
#include <climits>
#include <cstring>

#include "platform/linux/wayland/wayland_display.h"
#include "wlr-layer-shell-unstable-v1-client-protocol.h"
#include "xdg-shell-client-protocol.h"

namespace {

using Rect = FrameDamage::Rect;

// Copying scattered parts costs about eight times as much a pixel as
// clearing or copying whole rows: each row of a part is a miss in the cache
// in both pictures. (A default flight changes 14 % of a 1920 x 1080 frame
// in some 1,000 cells; copying them took as long as clearing the frame,
// under sway, and a third less with a quarter of the stars.)
constexpr int64_t kScatteredCopyCost = 8;

// The pixels of `parts` that fall on `part`.
int64_t areaOn(const ScreenRect& part, std::span<const Rect> parts) {
    int64_t area = 0;
    for (const Rect& r : parts) {
        const int64_t w = std::min(r.left + r.width, part.left + part.width) - std::max(r.left, part.left);
        const int64_t h = std::min(r.top + r.height, part.top + part.height) - std::max(r.top, part.top);
        if (w > 0 && h > 0) area += w * h;
    }
    return area;
}

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

void onFrameDone(void* data, wl_callback*, uint32_t) { surfaceOf(data).frameShown(); }

const wl_callback_listener kFrameListener = {onFrameDone};

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
    if (frameCallback_) wl_callback_destroy(frameCallback_);
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
    holds_ = {};
    lent_ = -1;
    for (auto& buffer : buffers_) {
        buffer = ShmBuffer::create(display_.shm(), width, height);
        if (!buffer) return;
    }
    configured_ = true;
    // Black at once, until the first frame arrives.
    handOver(0, {}, true);
    shownWhole_ = false;
}

void OutputSurface::close(bool byCompositor) {
    if (byCompositor) closed_ = true;
    else closeRequested_ = true;
}

void OutputSurface::frameShown() {
    wl_callback_destroy(frameCallback_);
    frameCallback_ = nullptr;
}

int OutputSurface::freeBuffer(uint32_t preferred) const {
    if (!configured_ || closed_) return -1;
    int found = -1;
    for (int i = 0; i < static_cast<int>(buffers_.size()); ++i)
        if (!buffers_[i]->busy() && (found < 0 || (preferred != 0 && holds_[i] == preferred))) found = i;
    return found;
}

bool OutputSurface::ready() const { return freeBuffer() >= 0; }

FrameTarget OutputSurface::lend(int32_t width, int32_t height, const FrameChange& last) {
    lent_ = -1;
    const int index = freeBuffer(last.serial);
    const bool whole = part_.left == 0 && part_.top == 0 && part_.width == width && part_.height == height;
    if (index < 0 || !whole || buffers_[index]->width() != width || buffers_[index]->height() != height) return {};
    // About to be drawn in: it holds no known frame until shown.
    lent_ = index;
    lentHeld_ = holds_[index];
    holds_[index] = 0;
    return buffers_[index]->frame();
}

bool OutputSurface::bringLentTo(const FrameChange& last) {
    if (lent_ < 0 || last.serial == 0) return false;
    if (lentHeld_ == last.serial) return true;
    const int other = 1 - lent_;
    if (last.whole || lentHeld_ == 0 || lentHeld_ + 1 != last.serial || holds_[other] != last.serial) return false;
    // Where the last frame changed much, clearing the frame and drawing it
    // whole costs less.
    if (areaOn(part_, last.changed) * kScatteredCopyCost >= int64_t{part_.width} * part_.height) return false;
    // The other buffer is the compositor's to read, and so is it ours.
    copyParts(lent_, buffers_[other]->frame(), true, last.changed);
    lentHeld_ = last.serial;
    return true;
}

void OutputSurface::show(const FrameTarget& frame, const FrameChange& now, const FrameChange& last) {
    if (!configured_ || closed_ || frame.empty()) return;
    int index = -1;
    for (int i = 0; i < static_cast<int>(buffers_.size()); ++i)
        if (!buffers_[i]->busy() && frame.pixels == buffers_[i]->frame().pixels) index = i;  // drawn in place
    if (index < 0) {
        index = freeBuffer(last.serial);
        if (index < 0 || bytesPerPixel(frame.format) != 4) return;
        // Only where the frame differs from what the buffer holds, unless
        // copying the part whole (twice the pixels of a clear) costs less.
        const uint32_t held = holds_[index];
        const int64_t wholeCost = 2 * int64_t{part_.width} * part_.height;
        const int64_t sinceLast = now.whole ? wholeCost : areaOn(part_, now.changed) * kScatteredCopyCost;
        if (held != 0 && held == last.serial && sinceLast < wholeCost) {
            copyParts(index, frame, false, now.changed);
        } else if (held != 0 && held + 1 == last.serial && !last.whole &&
                   sinceLast + areaOn(part_, last.changed) * kScatteredCopyCost < wholeCost) {
            copyParts(index, frame, false, last.changed);
            copyParts(index, frame, false, now.changed);
        } else {
            const Rect part{part_.left, part_.top, part_.width, part_.height};
            copyParts(index, frame, false, {&part, 1});
        }
    }
    // One callback waits at a time: a surface the compositor does not show
    // gathers no more.
    if (!frameCallback_) {
        frameCallback_ = wl_surface_frame(surface_);
        wl_callback_add_listener(frameCallback_, &kFrameListener, this);
    }
    handOver(index, now.damaged, now.whole || !shownWhole_);
    holds_[index] = now.serial;
    shownWhole_ = true;
}

// Each part, in the frame's coordinates, where it falls on this output and
// in both pictures: from the frame, or from the other buffer of this
// surface (`fromBuffer`, in the buffers' coordinates).
void OutputSurface::copyParts(int to, const FrameTarget& from, bool fromBuffer, std::span<const Rect> parts) const {
    const ShmBuffer& buffer = *buffers_[to];
    const int32_t dx = fromBuffer ? 0 : part_.left, dy = fromBuffer ? 0 : part_.top;  // from `from` to the buffer
    for (const Rect& r : parts) {
        const int32_t left = std::max({r.left - part_.left, 0, -dx}), top = std::max({r.top - part_.top, 0, -dy});
        const int32_t right = std::min({r.left + r.width - part_.left, buffer.width(), from.width - dx});
        const int32_t bottom = std::min({r.top + r.height - part_.top, buffer.height(), from.height - dy});
        if (left >= right) continue;
        const size_t bytes = static_cast<size_t>(right - left) * 4;
        for (int32_t y = top; y < bottom; ++y)
            std::memcpy(buffer.row(y) + size_t{4} * left, from.row(y + dy) + size_t{4} * (left + dx), bytes);
    }
}

// The whole buffer, or each damaged part that falls on this output, in the
// buffer's own coordinates.
void OutputSurface::handOver(int index, std::span<const Rect> damaged, bool whole) {
    ShmBuffer& buffer = *buffers_[index];
    wl_surface_attach(surface_, buffer.buffer(), 0, 0);
    const bool inBuffer = wl_surface_get_version(surface_) >= WL_SURFACE_DAMAGE_BUFFER_SINCE_VERSION;
    const auto damage = [&](int32_t x, int32_t y, int32_t w, int32_t h) {
        if (inBuffer) wl_surface_damage_buffer(surface_, x, y, w, h);
        else wl_surface_damage(surface_, x, y, w, h);
    };
    if (whole) {
        damage(0, 0, buffer.width(), buffer.height());
    } else {
        for (const Rect& r : damaged) {
            const int32_t left = std::max(r.left - part_.left, 0), top = std::max(r.top - part_.top, 0);
            const int32_t right = std::min(r.left + r.width - part_.left, buffer.width());
            const int32_t bottom = std::min(r.top + r.height - part_.top, buffer.height());
            if (left < right && top < bottom) damage(left, top, right - left, bottom - top);
        }
    }
    wl_surface_commit(surface_);
    buffer.handOver();
}
