#pragma once
#include <cstdint>
#include <span>
#include <vector>

struct Picture;

// One byte per pixel, (R + G + B) / 3, row by row from the top. The picture
// must hold width * height * 3 bytes.
std::vector<uint8_t> brightnessMap(const Picture& picture);

// Nearest-sample resampling of a width x height map (rounding down) to
// targetWidth x targetRows bytes: output (i, j) is source
// (i * height / targetRows, j * width / targetWidth).
std::vector<uint8_t> resampleToWidth(std::span<const uint8_t> map, uint32_t width, uint32_t height,
                                     uint32_t targetWidth, uint32_t targetRows);
