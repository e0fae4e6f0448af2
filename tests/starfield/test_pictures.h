#pragma once
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "starfield/picture_decoder.h"

// Pictures made in memory and written to files, for the distribution tests.

struct Rgb {
    uint8_t r = 0, g = 0, b = 0;
    bool operator==(const Rgb&) const = default;
};

Picture solidPicture(int32_t width, int32_t height, Rgb colour);
void setPixel(Picture& picture, int32_t x, int32_t y, Rgb colour);
Rgb pixelAt(const Picture& picture, int32_t x, int32_t y);

// Writers for the four formats the saver reads. GIF is written by hand (the
// picture may use at most 128 colours); the others go through stb_image_write.
bool writePng(const std::string& path, const Picture& picture);
bool writeBmp(const std::string& path, const Picture& picture);
bool writeJpeg(const std::string& path, const Picture& picture);
bool writeGif(const std::string& path, const Picture& picture);
bool writePngChannels(const std::string& path, int32_t width, int32_t height, int channels,
                      const std::vector<uint8_t>& bytes);
bool writeBytes(const std::string& path, const std::vector<uint8_t>& bytes);

std::string tempPath(const std::string& name);

// Serves pictures by path from memory; every other path fails to load.
class FakePictureDecoder final : public PictureDecoder {
public:
    std::map<std::string, Picture> files;
    std::vector<std::string> asked;

    bool loadPicture(const std::string& path, Picture& picture) override {
        asked.push_back(path);
        const auto found = files.find(path);
        if (found == files.end()) return false;
        picture = found->second;
        return true;
    }
};
