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
// `maxPixels`, a palette or pixel data that begin past the end of the file.
// Taken as far as it goes, as a careful reader of damaged data would: pixels
// a run or a move leaves out are black, as are colour indexes past the
// palette; a run past the end of its row loses its rest, a move or a line
// past the top ends the picture, and so does data that ends without an
// end-of-picture mark. Nothing is read or written outside the file and the
// picture.
bool decodeRunLengthBmp(std::span<const uint8_t> file, Picture& picture, int64_t maxPixels);
