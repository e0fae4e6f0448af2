#pragma once
#include <cstdint>
#include <span>

#include "starfield/picture_decoder.h"

// Run-length encoded BMP pictures (BI_RLE8 with 8 bits a pixel, BI_RLE4
// with 4), which stb_image does not read and GDI+ on Windows does: decoded
// here so that the same settings fly the same pictures on both.

// True when `file` is a BMP with a Windows header (40, 56, 108 or 124
// bytes) that names one of the two run-length compressions.
bool isRunLengthBmp(std::span<const uint8_t> file);

// Decodes such a file into `picture`. Refused (false, `picture` as it was):
// a compression that does not match the bits a pixel, a picture stored top
// down (the encoding is defined bottom up only), no pixels or more than
// `maxPixels`, a palette or pixel data that begin past the end of the file,
// and data that end before the end-of-picture mark or the top row is done,
// which GDI+ refuses too. Damage within the data is cut off where it starts,
// never wrapped into the next row: a run past the row's end loses its rest
// and the rest of the row, a move past it stops there, a move or a line end
// past the top ends the picture. Pixels the codes leave out are black, as
// are indexes past the palette. Nothing is read or written outside the file
// and the picture.
bool decodeRunLengthBmp(std::span<const uint8_t> file, Picture& picture, int64_t maxPixels);
