#pragma once
#include <string>

#include "raster/frame_target.h"

// Writes the frame as an RGB picture, PNG, binary PPM or BMP by the file's
// extension, row by row. False (and the reason in `error`) when it cannot be
// written.
bool writeFrameImage(const FrameTarget& frame, const std::string& path, std::string& error);

// Writes the frame's bytes as the frame holds them, rows without padding.
bool writeFrameRaw(const FrameTarget& frame, const std::string& path, std::string& error);
