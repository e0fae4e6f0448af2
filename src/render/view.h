#pragma once
#include <cstdint>

class StarField;

// Sets the flight's view to a frame of width x height pixels: the centre in
// 24.8 fixed point (halving truncates) and the placement box, which copies it.
void setViewSize(StarField& field, int32_t width, int32_t height);
