#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// A decoded picture: 8-bit R, G, B for every pixel, row by row from the top.
struct Picture {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint8_t> rgb;  // width * height * 3 bytes
};

// Largest picture taken as a star distribution, far beyond any screen; a
// file claiming more is refused from its header. Memory bounds pictures
// further: see picture_memory.h.
inline constexpr int64_t kMaxPicturePixels = 64'000'000;

// Reads the picture files the user chose as star distributions. The
// platform supplies it; BMP, JPEG, GIF and PNG files must be understood.
class PictureDecoder {
public:
    virtual ~PictureDecoder() = default;

    // Decodes the picture in the file into `picture`. False, leaving
    // `picture` as it was, when the file cannot be opened or decoded, is no
    // regular file, holds more than kMaxPicturePixels pixels or would take
    // more than kMaxPictureDecodeBytes to decode.
    virtual bool loadPicture(const std::string& path, Picture& picture) = 0;
};

// The platform's decoder, defined by the platform library.
std::unique_ptr<PictureDecoder> makePlatformPictureDecoder();
