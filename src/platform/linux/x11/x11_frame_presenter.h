#pragma once
// The last step of a frame on X11: SdlHost hands it the frames the
// SoftwareDevice presents, as D3d9Device's Present is on Windows.
// Implements: the frame in any of the four pixel formats, shown in an X
// window of any size and visual (the overlap of the two is shown); only the
// changed parts of a frame handed to the X server when the caller knows them.
// Leaves out: scaling, vertical retrace, and the preview pane, whose picture
// SdlHost paints through SDL itself.
//
// The frame lives in an image of Lumara's own, in memory shared with the X
// server (MIT-SHM) where the server offers it. Where the image has the
// frame's pixel format it is lent out and the frame is drawn straight into
// it: nothing is copied. Otherwise a frame drawn elsewhere is copied in
// once, converted in the same pass when the formats differ.
// The changed parts go as one put clipped to them: the server pays for
// each request and each pixel it copies, and a put per part (SDL's window
// surface does that) cost it more than the stars did. Without shared memory
// (a display across the network) each part is sent on its own, since there
// every pixel crosses the wire.
#include <cstdint>
#include <memory>
#include <span>

#include "raster/frame_damage.h"
#include "raster/frame_target.h"

class X11FramePresenter {
public:
    // `display`: the connection the window's events come through (a
    // Display*); `window`: the X window shown in.
    X11FramePresenter(void* display, uintptr_t window);
    ~X11FramePresenter();
    X11FramePresenter(const X11FramePresenter&) = delete;
    X11FramePresenter& operator=(const X11FramePresenter&) = delete;

    // The image as a frame of width x height in `format`, when its pixels
    // are in that format; empty otherwise. Made anew when the size changes.
    FrameTarget lend(int32_t width, int32_t height, int32_t format);

    // Shows the frame; unless `whole`, hands the server only the `changed`
    // parts of it (the window shows the last frame elsewhere).
    void show(const FrameTarget& frame, std::span<const FrameDamage::Rect> changed, bool whole);

    // Whether the image lives in memory shared with the server.
    bool shared() const { return shared_; }

private:
    struct Image;  // the X objects: the image, its memory, the window's GC
    bool makeImage(int32_t width, int32_t height);
    void copyIn(const FrameTarget& frame);

    void* display_;  // Display*
    uintptr_t window_;
    std::unique_ptr<Image> image_;
    bool shared_ = false;
};
