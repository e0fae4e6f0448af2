#pragma once
#include <cstddef>
#include <cstdint>

#include "raster/frame_target.h"

struct SplatTable;

// What a star is drawn into during one frame: the locked frame and the
// splat table of the anti-aliasing mode (none in "Disabled" mode).
struct StarCanvas {
    FrameTarget frame;
    const SplatTable* splat = nullptr;
};

// 0..255 for a star at depth z with the given fade factor: a star brightens
// linearly as it nears the viewer, dimmer for a larger fade factor.
int32_t starBrightness(int32_t z, int32_t fade, int32_t nearSpawnDepth);

// Draws one star of brightness f at frame position (x, y), 24.8 fixed point,
// where limitX/limitY (24.8) bound the drawable area: a one-pixel grey
// maximum without a splat table, else an additive N x N splat that must lie
// wholly inside the limits. Stars that do not fit are skipped whole.
void drawStarAt(const StarCanvas& canvas, int64_t x, int64_t y, int64_t limitX, int64_t limitY,
                int32_t f);

// Blackens every pixel drawStarAt with the same arguments may have lit: the
// star's pixel or its whole N x N splat, or nothing for a star it skips.
void eraseStarAt(const StarCanvas& canvas, int64_t x, int64_t y, int64_t limitX, int64_t limitY);

// Stars drawn in one go: positions (24.8) relative to an origin, each with
// its brightness, in three arrays of `count` entries.
struct StarBatch {
    const int32_t* x = nullptr;
    const int32_t* y = nullptr;
    const int32_t* brightness = nullptr;
    size_t count = 0;
};

// The same pixels as drawStarAt(canvas, originX + x[i], originY + y[i],
// limitX, limitY, brightness[i]) for each star of the batch; what does not
// change from star to star (the canvas checks, the limits, the way rows are
// added) is settled once for the whole batch.
void drawStarsAt(const StarCanvas& canvas, const StarBatch& stars, int64_t originX, int64_t originY, int64_t limitX,
                 int64_t limitY);
