#pragma once
// Where SoftwareDevice's frames go: a window that shows them, and may lend
// its own memory for them to be drawn in, or a program that keeps them.
// The device calls it directly, twice a frame: nothing between them.
#include <cstdint>

#include "raster/frame_damage.h"
#include "raster/frame_target.h"

class FrameScreen {
public:
    virtual ~FrameScreen() = default;

    // The screen's own memory for a frame of width x height in `format`,
    // kept from one frame to the next; empty when it has none, and the
    // device draws in memory of its own.
    virtual FrameTarget lendFrame(int32_t, int32_t, int32_t) { return {}; }
    // Whether the memory lent for this frame, other than the last frame's,
    // holds the frame shown last, pixel for pixel, made so where the screen
    // can (a window that shows its memories by turns copies into the one it
    // lends what the last frame changed): the device then changes only
    // what the new frame changes. Asked only when that is wanted, as making
    // it so costs the copy.
    virtual bool lentFrameIsLast() { return false; }
    // A finished frame, shown or kept.
    virtual void showFrame(const FrameTarget& frame) = 0;
    // The same, where only `changed` differs from the frame shown before
    // it (unless changed.whole()): a window hands its display only that.
    // The frame holds every pixel, changed or not.
    virtual void showChanged(const FrameTarget& frame, FrameDamage&) { showFrame(frame); }
};
