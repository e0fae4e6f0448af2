#include "platform/linux/stb_picture_decoder.h"

#include <climits>
#include <memory>

#include <stb_image.h>

#include "platform/linux/decode_budget.h"
#include "platform/linux/jpeg_table_check.h"
#include "platform/linux/regular_file.h"
#include "starfield/picture_memory.h"

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
    if (bytes.empty() || bytes.size() > INT_MAX || !jpegHuffmanTablesFit(bytes)) return std::nullopt;
    const std::optional<uint64_t> need = pictureDecodeBytes(bytes);
    if (!need || *need > kMaxPictureDecodeBytes) return std::nullopt;
    // The file's own bytes count against the bound too.
    const DecodeBudget budget(kMaxPictureDecodeBytes - bytes.size());
    const auto length = static_cast<int>(bytes.size());
    int width = 0, height = 0, channels = 0;
    if (!stbi_info_from_memory(bytes.data(), length, &width, &height, &channels) ||
        !acceptableSize(width, height, maxPixels))
        return std::nullopt;
    stbi_uc* pixels = stbi_load_from_memory(bytes.data(), length, &width, &height, &channels, 3);
    return takePixels(pixels, width, height, maxPixels);
}

std::optional<Picture> StbPictureDecoder::loadPicture(const std::string& path) {
    // The whole file is checked before the decoder sees it, so it is read
    // into memory; a file larger than the decoding bound is refused as it is read.
    std::string bytes;
    if (readRegularFile(path, kMaxPictureDecodeBytes, bytes) != FileReadResult::Read) return std::nullopt;
    return decodePicture({reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()});
}

std::unique_ptr<PictureDecoder> makePlatformPictureDecoder() { return std::make_unique<StbPictureDecoder>(); }
