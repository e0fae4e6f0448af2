#pragma once
// The changed parts of a frame (FrameDamage's rectangles) in a few
// rectangles, for a display that pays for each one it is told of more than
// for the pixels it covers: a Wayland compositor wakes for every 4 KB of
// requests a client sends, and wlroots redraws the box around all of an
// output's damage once it has more than 20 rectangles.
// Each row of cells becomes one band, from its first changed cell to its
// last; neighbouring bands are then joined, those whose box adds the least
// unchanged area first, until no more than the number asked for are left.
// They cover every changed pixel. When they would cover more than half of
// the frame, the frame is one rectangle: a display draws about as much for
// either, and one is the cheapest to tell.
// Sized once for a frame size; covering allocates nothing.
#include <cstdint>
#include <span>
#include <vector>

#include "raster/frame_damage.h"

class DamageBands {
public:
    // For frames of width x height. Allocates: at a frame size's start.
    void resize(int32_t width, int32_t height);

    // At most `most` (at least 1) rectangles inside the frame that cover
    // every pixel of `changed`, or the whole frame as one; valid until the
    // next call. Empty when nothing changed.
    std::span<const FrameDamage::Rect> cover(std::span<const FrameDamage::Rect> changed, size_t most);

    int32_t width() const { return width_; }
    int32_t height() const { return height_; }

private:
    int32_t width_ = 0, height_ = 0;
    std::vector<int32_t> left_, right_;  // by row of cells: the changed columns' extent, in pixels
    std::vector<FrameDamage::Rect> bands_;
};
