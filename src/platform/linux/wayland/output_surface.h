#pragma once
// The saver's surface on one output, and the last step of a frame there.
// Pairs with the borderless full-screen window SdlHost makes over every
// monitor and with X11FramePresenter, which shows each frame in it:
// on Wayland each output gets a surface of its own, which shows the part
// of the frame the output covers in the compositor's layout.
// Implements: an overlay-layer surface over the whole output, panels
// included, that takes the keyboard (layer shell), else a full-screen
// toplevel on the output (xdg-shell: GNOME); the size the compositor
// gives it; two shared-memory buffers, each frame handed over in the free
// one; black until the first frame.
// Each buffer remembers which frame it holds, so the free one is brought
// to the new frame by copying only what differs: where the output shows
// the whole frame, the frame is drawn straight into the buffer, and the
// one the compositor gave back is first made the last frame again (the
// parts the last frame changed, copied from the other buffer) so that only
// the last stars are blackened; else the output's part of the frame is
// copied in, only where the last two frames changed it.
// The compositor is told which parts of the buffer changed (damage: the
// few rectangles damage_bands.h makes), so it redraws and copies only
// those, and asked to say when it has shown the frame (a frame callback,
// one waiting at a time): the host holds a frame due while none of its
// surfaces has shown the last one, up to the next tick.
// Leaves out: scaling (a frame pixel is a unit of the layout) and formats
// other than 32-bit pixels.
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
struct wl_callback;
struct wl_surface;
struct xdg_surface;
struct xdg_toplevel;
struct zwlr_layer_surface_v1;

// One frame handed to the outputs, as the host numbers and records it.
struct FrameChange {
    uint32_t serial = 0;  // from 1, one more for each frame handed over; 0 before the first
    // Every pixel may differ from frame serial - 1: `changed` and `damaged` mean nothing.
    bool whole = true;
    // In the frame's coordinates: the parts that differ from frame serial - 1,
    // as the renderer noted them (many, small), and as the compositor is
    // told of them (few, covering those).
    std::span<const FrameDamage::Rect> changed;
    std::span<const FrameDamage::Rect> damaged;
};

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
    // The compositor has not yet said it showed the last frame handed over.
    bool showPending() const { return frameCallback_ != nullptr; }

    // A free buffer to draw a whole frame of width x height in, when this
    // output shows exactly such a frame; empty otherwise. The one holding
    // `last` is preferred.
    FrameTarget lend(int32_t width, int32_t height, const FrameChange& last);
    // Whether the buffer lent last holds frame `last` now, made so when it
    // held the frame before it: the parts `last` changed copied from the
    // other buffer.
    bool bringLentTo(const FrameChange& last);

    // Hands frame `now` to the compositor: the buffer it was drawn in
    // (lend), else a free buffer the surface's part is brought to it in
    // (copied, but where it already holds `last` or the frame before it,
    // only the parts they changed); the rest of the surface stays black.
    // Nothing happens without a free buffer. Unless now.whole, the
    // compositor is told that only now.damaged differs from the last frame
    // shown, as far as the surface shows that one whole.
    void show(const FrameTarget& frame, const FrameChange& now, const FrameChange& last);

    // The protocol's events (the listeners call these).
    void configure(uint32_t serial, int32_t width, int32_t height);
    void toplevelSize(int32_t width, int32_t height);
    void close(bool byCompositor);
    void frameShown();

private:
    int freeBuffer(uint32_t preferred = 0) const;  // an index, -1 when none; the one holding `preferred` first
    void copyParts(int to, const FrameTarget& from, bool fromBuffer, std::span<const FrameDamage::Rect> parts) const;
    void handOver(int index, std::span<const FrameDamage::Rect> damaged, bool whole);

    const WaylandDisplay& display_;
    const uint32_t outputName_;
    ScreenRect part_;
    wl_surface* surface_ = nullptr;
    zwlr_layer_surface_v1* layerSurface_ = nullptr;
    xdg_surface* xdgSurface_ = nullptr;
    xdg_toplevel* toplevel_ = nullptr;
    int32_t toplevelWidth_ = 0, toplevelHeight_ = 0;  // the size the last toplevel configure gave
    std::array<std::unique_ptr<ShmBuffer>, 2> buffers_;
    std::array<uint32_t, 2> holds_{};  // by buffer: the serial of the frame it holds, 0 when unknown
    int lent_ = -1;                    // the buffer lent last, meaningful until the next lend
    uint32_t lentHeld_ = 0;            // what it held when lent
    wl_callback* frameCallback_ = nullptr;
    bool configured_ = false;
    bool shownWhole_ = false;  // the surface shows the last frame handed over, every pixel
    bool closed_ = false;
    bool closeRequested_ = false;
};
