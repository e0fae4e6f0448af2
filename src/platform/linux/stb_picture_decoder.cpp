#include "platform/linux/stb_picture_decoder.h"

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <memory>

#define STB_IMAGE_IMPLEMENTATION
#define STB_IMAGE_STATIC
#define STBI_ONLY_BMP
#define STBI_ONLY_JPEG
#define STBI_ONLY_GIF
#define STBI_ONLY_PNG
#include <stb_image.h>

namespace {

bool acceptableSize(int width, int height, int64_t maxPixels) {
    return width > 0 && height > 0 && int64_t{width} * height <= maxPixels;
}

// Takes over a buffer stb_image decoded to three channels.
std::optional<Picture> takePixels(stbi_uc* pixels, int width, int height, int64_t maxPixels) {
    const std::unique_ptr<stbi_uc, void (*)(void*)> owned(pixels, stbi_image_free);
    if (!pixels || !acceptableSize(width, height, maxPixels)) return std::nullopt;
    Picture picture;
    picture.width = width;
    picture.height = height;
    picture.rgb.assign(pixels, pixels + static_cast<size_t>(width) * static_cast<size_t>(height) * 3);
    return picture;
}

}  // namespace

std::optional<Picture> decodePicture(std::span<const uint8_t> bytes, int64_t maxPixels) {
    if (bytes.empty() || bytes.size() > INT_MAX) return std::nullopt;
    const auto length = static_cast<int>(bytes.size());
    int width = 0, height = 0, channels = 0;
    if (!stbi_info_from_memory(bytes.data(), length, &width, &height, &channels) ||
        !acceptableSize(width, height, maxPixels))
        return std::nullopt;
    stbi_uc* pixels = stbi_load_from_memory(bytes.data(), length, &width, &height, &channels, 3);
    return takePixels(pixels, width, height, maxPixels);
}

std::optional<Picture> StbPictureDecoder::loadPicture(const std::string& path) {
    const std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(path.c_str(), "rb"), std::fclose);
    if (!file) return std::nullopt;
    // Header and pixels come from the same open file; stbi_info_from_file
    // puts the read position back where it found it.
    int width = 0, height = 0, channels = 0;
    if (!stbi_info_from_file(file.get(), &width, &height, &channels) ||
        !acceptableSize(width, height, kMaxPicturePixels))
        return std::nullopt;
    stbi_uc* pixels = stbi_load_from_file(file.get(), &width, &height, &channels, 3);
    return takePixels(pixels, width, height, kMaxPicturePixels);
}

std::unique_ptr<PictureDecoder> makePlatformPictureDecoder() { return std::make_unique<StbPictureDecoder>(); }
