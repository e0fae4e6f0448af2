#pragma once
// The PictureDecoder seam (starfield/picture_decoder.h) on GDI+, where the
// Linux build has StbPictureDecoder.
// Implements: BMP, JPEG, GIF, PNG and whatever else the system's codecs
// read, as 8-bit R, G, B (palettes looked up, alpha dropped); paths in the
// ANSI code page; pictures of more than kMaxPicturePixels refused before
// their pixels are read. GDI+ is started once, at the first load; when it
// cannot start, every load fails.
// Leaves out: colour management, and every frame of an animation but the first.
#include "starfield/picture_decoder.h"

class GdiplusPictureDecoder final : public PictureDecoder {
public:
    std::optional<Picture> loadPicture(const std::string& path) override;
};
