#pragma once
#include <cstdint>

#include "render/cloud_layer.h"
#include "raster/frame_target.h"

class PixelOrder;
class Random;

// The nebula's picture, a quarter of the frame's width and height. Pixel
// (x, y) is a function of its polar position about the picture's centre and
// of the time t: layer 0 gives blue (red in 16-bit formats), layer 1 green,
// layer 2 red (blue). Pictures in formats other than the four drawable ones
// are left unwritten.

// Builds the order of renewal (drawing from rng) and computes every pixel of
// the locked picture, rows in order.
void fillCloudImage(const FrameTarget& image, const CloudLayers& layers, float time, PixelOrder& order,
                    Random& rng);

// Recomputes the next `count` pixels of the order. Draws nothing.
void refreshCloudImage(const FrameTarget& image, uint32_t count, const CloudLayers& layers, float time,
                       PixelOrder& order);
