#pragma once
#include <cstdint>
#include <vector>

#include "raster/frame_target.h"

// The frame as 8-bit R, G, B triples, rows top to bottom, as a screen would
// show it (5-bit fields widened by repeating their top bits).
std::vector<uint8_t> frameToRgb(const FrameTarget& frame);

// Row y of the frame as width R, G, B triples into `out`.
void rowToRgb(const FrameTarget& frame, int32_t y, uint8_t* out);
