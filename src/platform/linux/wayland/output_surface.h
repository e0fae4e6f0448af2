#pragma once
// The saver's surface on one output, and the last step of a frame there.
// Pairs with the borderless full-screen window SdlHost makes over every
// monitor and with SdlFramePresenter, which copies each frame into it:
// on Wayland each output gets a surface of its own, which shows the part
// of the frame the output covers in the compositor's layout.
// Implements: an overlay-layer surface over the whole output, panels
// included, that takes the keyboard (layer shell), else a full-screen
// toplevel on the output (xdg-shell: GNOME); the size the compositor
// gives it; the frame's part copied once into a free shared-memory buffer
// (two per surface) and handed over, or, where the output shows the whole
// frame, the frame drawn straight into that buffer; black until the first
// frame.
// The compositor is told which parts of the buffer changed (damage), so it
// redraws and copies only those.
// Leaves out: scaling (a frame pixel is a unit of the layout), frame
// pacing by the compositor's frame callbacks (the frame timer paces, as on
// X11), and formats other than 32-bit pixels.
#include <array>
#include <cstdint>
#include <memory>
#include <span>

#include "platform/linux/wayland/shm_buffer.h"
#include "raster/frame_damage.h"
#include "raster/frame_target.h"
#include "saver/host_platform.h"

class WaylandDisplay;
struct WaylandOutput;
struct wl_surface;
struct xdg_surface;
struct xdg_toplevel;
struct zwlr_layer_surface_v1;

class OutputSurface {
public:
    // `part`: the rectangle of the frame this output shows, in the frame's
    // coordinates.
    OutputSurface(const WaylandDisplay& display, const WaylandOutput& output, const ScreenRect& part,
                  const char* title);
    ~OutputSurface();
    OutputSurface(const OutputSurface&) = delete;
    OutputSurface& operator=(const OutputSurface&) = delete;

    wl_surface* surface() const { return surface_; }
    uint32_t outputName() const { return outputName_; }
    const ScreenRect& part() const { return part_; }
    // The output's place in a frame laid out anew (its mode or scale changed).
    void setPart(const ScreenRect& part) { part_ = part; }

    // The compositor has given it a size and it has buffers for it.
    bool configured() const { return configured_; }
    // The compositor took the surface away (layer shell) or asked the
    // window to close (xdg-shell).
    bool closed() const { return closed_; }
    bool closeRequested() const { return closeRequested_; }
    // A buffer is free to show the next frame in.
    bool ready() const;

    // A free buffer to draw a whole frame of width x height in, when this
    // output shows exactly such a frame; empty otherwise.
    FrameTarget lend(int32_t width, int32_t height) const;

    // Hands the frame to the compositor: the buffer it was drawn in (lend),
    // else a free buffer the surface's part is copied into; the rest of the
    // surface stays black. Nothing happens without a free buffer. Unless
    // `whole`, the compositor is told that only `changed` (in the frame's
    // coordinates) differs from the last frame shown, as far as the
    // surface shows that one whole.
    void show(const FrameTarget& frame, std::span<const FrameDamage::Rect> changed, bool whole);

    // The protocol's events (the listeners call these).
    void configure(uint32_t serial, int32_t width, int32_t height);
    void toplevelSize(int32_t width, int32_t height);
    void close(bool byCompositor);

private:
    ShmBuffer* freeBuffer() const;
    void handOver(ShmBuffer& buffer, std::span<const FrameDamage::Rect> changed = {}, bool whole = true);

    const WaylandDisplay& display_;
    const uint32_t outputName_;
    ScreenRect part_;
    wl_surface* surface_ = nullptr;
    zwlr_layer_surface_v1* layerSurface_ = nullptr;
    xdg_surface* xdgSurface_ = nullptr;
    xdg_toplevel* toplevel_ = nullptr;
    int32_t toplevelWidth_ = 0, toplevelHeight_ = 0;  // the size the last toplevel configure gave
    std::array<std::unique_ptr<ShmBuffer>, 2> buffers_;
    bool configured_ = false;
    bool shownWhole_ = false;  // the surface shows the last frame handed over, every pixel
    bool closed_ = false;
    bool closeRequested_ = false;
};
