#pragma once
// The last step of a frame on Linux: SdlHost hands it the frames the
// SoftwareDevice presents, as D3d9Device's Present is on Windows.
// Implements: the frame in any of the four pixel formats, shown in a window
// of any size (the overlap of the two is shown).
// Leaves out: scaling, vertical retrace, and windows with a renderer (the
// preview pane, whose picture SdlHost paints itself).
//
// Shows finished frames in an SDL window through the window's own surface,
// which SDL hands to the display (on X11 through shared memory). Where the
// surface has the frame's size and pixel format it is lent out and the
// frame is drawn straight into it: nothing is copied and no second frame
// exists. Otherwise a frame drawn elsewhere is copied in once, row by row
// when the formats agree and converted in the same pass when they do not.
// Only the changed parts of a frame are handed to the display when the
// caller knows them (one shared-memory put each), else the whole window.
// A streaming texture was measured to cost the CPU some eleven copies of
// the frame per present with SDL's software renderer, which is what a
// machine without a graphics driver gets.
#include <SDL.h>

#include <span>
#include <vector>

#include "raster/frame_damage.h"
#include "raster/frame_target.h"

class SdlFramePresenter {
public:
    explicit SdlFramePresenter(SDL_Window* window) : window_(window) {}

    // The window's surface as a frame of width x height in `format`, when
    // it is one; empty otherwise. It stays valid until the window changes
    // size or goes, so it is asked for again at every frame.
    FrameTarget lend(int32_t width, int32_t height, int32_t format);

    // Shows the frame; with `changed`, hands the display only those parts
    // of it (the rest shows the last frame still).
    void show(const FrameTarget& frame, std::span<const FrameDamage::Rect> changed = {});

    // The SDL pixel format of a frame format.
    static uint32_t sdlFormat(int32_t format);

private:
    SDL_Window* window_;
    std::vector<SDL_Rect> rects_;  // the changed parts in SDL's terms, sized for the frame
};
