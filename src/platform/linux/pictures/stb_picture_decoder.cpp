#include "platform/linux/pictures/stb_picture_decoder.h"

#include <climits>
#include <memory>

#include <stb_image.h>

#include "platform/linux/pictures/bmp_run_length.h"
#include "platform/linux/pictures/decode_budget.h"
#include "platform/linux/pictures/jpeg_table_check.h"
#include "platform/linux/store/regular_file.h"
#include "starfield/picture_memory.h"

namespace {

bool acceptableSize(int width, int height, int64_t maxPixels) {
    return width > 0 && height > 0 && int64_t{width} * height <= maxPixels;
}

// Takes over a buffer stb_image decoded to three channels.
bool takePixels(stbi_uc* pixels, int width, int height, int64_t maxPixels, Picture& picture) {
    const std::unique_ptr<stbi_uc, void (*)(void*)> owned(pixels, stbi_image_free);
    if (!pixels || !acceptableSize(width, height, maxPixels)) return false;
    const size_t bytes = static_cast<size_t>(width) * static_cast<size_t>(height) * 3;
    picture = Picture{width, height, std::vector<uint8_t>(pixels, pixels + bytes)};
    return true;
}

}  // namespace

bool decodePicture(std::span<const uint8_t> bytes, Picture& picture, int64_t maxPixels) {
    if (bytes.empty() || bytes.size() > INT_MAX || !jpegHuffmanTablesFit(bytes)) return false;
    uint64_t need = 0;
    if (!pictureDecodeBytes(bytes, need) || need > kMaxPictureDecodeBytes) return false;
    if (isRunLengthBmp(bytes)) return decodeRunLengthBmp(bytes, picture, maxPixels);
    // The file's own bytes count against the bound too.
    const DecodeBudget budget(kMaxPictureDecodeBytes - bytes.size());
    const auto length = static_cast<int>(bytes.size());
    int width = 0, height = 0, channels = 0;
    if (!stbi_info_from_memory(bytes.data(), length, &width, &height, &channels) ||
        !acceptableSize(width, height, maxPixels))
        return false;
    stbi_uc* pixels = stbi_load_from_memory(bytes.data(), length, &width, &height, &channels, 3);
    return takePixels(pixels, width, height, maxPixels, picture);
}

bool StbPictureDecoder::loadPicture(const std::string& path, Picture& picture) {
    // The whole file is checked before the decoder sees it, so it is read
    // into memory; a file larger than the decoding bound is refused as it is read.
    std::string bytes;
    if (readRegularFile(path, kMaxPictureDecodeBytes, bytes) != FileReadResult::Read) return false;
    return decodePicture({reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()}, picture);
}

std::unique_ptr<PictureDecoder> makePlatformPictureDecoder() { return std::make_unique<StbPictureDecoder>(); }
