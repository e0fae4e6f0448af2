#include "platform/linux/stb_picture_decoder.h"

#include <climits>
#include <cstdio>
#include <cstddef>
#include <memory>
#include <vector>

#include <stb_image.h>

#include "platform/linux/jpeg_table_check.h"

namespace {

// Far beyond the largest file of kMaxPicturePixels pixels in any of the four formats.
constexpr size_t kMaxPictureFileBytes = size_t{512} << 20;

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
    if (bytes.empty() || bytes.size() > INT_MAX || !jpegHuffmanTablesFit(bytes)) return std::nullopt;
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
    // The whole file is checked before the decoder sees it, so it is read
    // into memory; a file beyond any picture the pixel limit lets through
    // is refused as it is read.
    std::vector<uint8_t> bytes;
    std::vector<uint8_t> chunk(1 << 16);
    size_t got = 0;
    while ((got = std::fread(chunk.data(), 1, chunk.size(), file.get())) > 0) {
        if (bytes.size() + got > kMaxPictureFileBytes) return std::nullopt;
        bytes.insert(bytes.end(), chunk.begin(), chunk.begin() + static_cast<ptrdiff_t>(got));
    }
    if (std::ferror(file.get())) return std::nullopt;
    return decodePicture(bytes);
}

std::unique_ptr<PictureDecoder> makePlatformPictureDecoder() { return std::make_unique<StbPictureDecoder>(); }
