#pragma once
// Distribution pictures decoded by GDI+ (BMP, JPEG, GIF, PNG and whatever
// else the system's codecs read). GDI+ is started once, at the first load;
// when it cannot start, every load fails.
#include "starfield/picture_decoder.h"

class GdiplusPictureDecoder final : public PictureDecoder {
public:
    std::optional<Picture> loadPicture(const std::string& path) override;
};
