#pragma once
#include <cstdint>
#include <span>
#include <string>

#include "starfield/picture_decoder.h"

// The PictureDecoder seam (starfield/picture_decoder.h) on Linux, where the
// Windows build has GdiplusPictureDecoder: stb_image built for BMP, JPEG,
// GIF and PNG only, and run-length encoded BMPs, which stb_image does not
// read, decoded by bmp_run_length.h.
// Implements: the size a file claims read from its header first, and a
// picture of more than maxPixels pixels, or one whose decoding would hold
// more than kMaxPictureDecodeBytes (starfield/picture_memory.h), refused
// before anything is decoded; so are JPEGs the decoder would mishandle (see
// jpeg_table_check.h). The decoder's allocations are held to the same bound
// (decode_budget.h). Only regular files are read (regular_file.h). Alpha is
// dropped; 16-bit and grey pictures come out as 8-bit R, G, B.
// Leaves out: every other format, and every frame of an animated GIF but
// the first; colour profiles are not applied.
// False, leaving `picture` as it was, when the bytes are refused or cannot
// be decoded.
bool decodePicture(std::span<const uint8_t> bytes, Picture& picture, int64_t maxPixels = kMaxPicturePixels);

class StbPictureDecoder final : public PictureDecoder {
public:
    bool loadPicture(const std::string& path, Picture& picture) override;
};
