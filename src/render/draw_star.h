#pragma once
#include <cstdint>

#include "starfield/star_field.h"

class Star;
struct SplatTable;

// 0..255: a star brightens linearly as it nears the viewer, dimmer for a
// larger fade factor.
int32_t starBrightness(const Star& star, int32_t nearSpawnDepth);

// Draws one star of brightness f at frame position (x, y), 24.8 fixed point,
// where limitX/limitY (24.8) bound the drawable area: a one-pixel grey
// maximum without a splat table, else an additive N x N splat that must lie
// wholly inside the limits. Stars that do not fit are skipped whole.
void drawStarAt(const StarCanvas& canvas, int64_t x, int64_t y, int64_t limitX, int64_t limitY,
                int32_t f);

// The point star's plot: draws the star at the field's last projection into
// the field's canvas.
void drawStar(const StarField& field, const Star& star);
