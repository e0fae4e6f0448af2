#pragma once
#include <cstdint>

#include "raster/frame_damage.h"
#include "raster/frame_target.h"
#include "raster/overlay_text.h"

// The frame rate a hack shows with -fps, as xscreensaver's hacks do: the
// frames drawn over the last whole second, renewed once a second, drawn
// into the bottom left corner of each frame as "FPS: 14.3". Until a second
// has passed it shows "FPS: -". Counting and drawing allocate nothing.
class FrameRateDisplay {
public:
    // Counts a frame drawn at `nowMs`, a millisecond clock that never goes
    // back.
    void countFrame(uint64_t nowMs);

    // Tenths of a frame a second over the last second measured; -1 before
    // one has passed.
    int32_t tenthsPerSecond() const { return tenths_; }

    // Draws the rate into the bottom left corner of `frame`, with dots of
    // one pixel up to a frame 479 pixels high and one more for every 480.
    void draw(const FrameTarget& frame);

    // Blackens what the last draw covered, for a frame that is black under
    // its stars, before they are drawn: a frame kept from the last one still
    // holds the last text, and a shorter one ("FPS: 9.9" after "FPS: 10.0")
    // would not cover its last digit.
    void eraseLast(const FrameTarget& frame) const;

    // The box the last draw covered (empty before the first), which it
    // changed and eraseLast blackens.
    FrameDamage::Rect drawnBox() const { return {0, drawnTop_, drawn_.width, drawn_.height}; }

private:
    uint64_t secondStart_ = 0;
    uint32_t frames_ = 0;
    bool started_ = false;
    int32_t tenths_ = -1;
    int32_t drawnTop_ = 0;
    OverlaySize drawn_{0, 0};
};
