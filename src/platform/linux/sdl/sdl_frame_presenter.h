#pragma once
// The last step of a frame on Linux: SdlHost hands it the frames the
// SoftwareDevice presents, as D3d9Device's Present is on Windows.
// Implements: the frame in any of the four pixel formats, shown in a window
// of any size (the overlap of the two is shown).
// Leaves out: scaling, vertical retrace, and windows with a renderer (the
// preview pane, whose picture SdlHost paints itself).
//
// Shows finished frames in an SDL window by copying them into the window's
// own surface and handing that to the display (on X11 through shared
// memory). The frame is copied once, row by row when the formats agree and
// converted in the same pass when they do not; nothing else touches it.
// A streaming texture was measured to cost the CPU some eleven copies of
// the frame per present with SDL's software renderer, which is what a
// machine without a graphics driver gets.
#include <SDL.h>

#include "raster/frame_target.h"

class SdlFramePresenter {
public:
    explicit SdlFramePresenter(SDL_Window* window) : window_(window) {}

    void show(const FrameTarget& frame);

    // The SDL pixel format of a frame format.
    static uint32_t sdlFormat(int32_t format);

private:
    SDL_Window* window_;
};
