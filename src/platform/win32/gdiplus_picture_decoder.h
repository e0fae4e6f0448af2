#pragma once
// The PictureDecoder seam (starfield/picture_decoder.h) on GDI+, where the
// Linux build has StbPictureDecoder.
// Implements: BMP, JPEG, GIF and PNG as 8-bit R, G, B (palettes looked up,
// alpha dropped). The file is read only when it is a disk file
// (regular_file.h) and judged from its header first
// (starfield/picture_memory.h): a picture whose decoding would take more
// than kMaxPictureDecodeBytes, or of another format, is refused before GDI+
// decodes it from memory. GDI+ is started once, at the first load; when it
// cannot start, every load fails.
// Leaves out: colour management, and every frame of an animation but the first.
#include "starfield/picture_decoder.h"

class GdiplusPictureDecoder final : public PictureDecoder {
public:
    bool loadPicture(const std::string& path, Picture& picture) override;
};
