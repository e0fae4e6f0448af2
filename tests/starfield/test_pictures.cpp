#include "test_pictures.h"

#include <algorithm>
#include <cstdio>

#include "base/byte_order.h"

#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STB_IMAGE_WRITE_STATIC
#include <stb/stb_image_write.h>

Picture solidPicture(int32_t width, int32_t height, Rgb colour) {
    Picture picture;
    picture.width = width;
    picture.height = height;
    picture.rgb.resize(static_cast<size_t>(width) * static_cast<size_t>(height) * 3);
    for (size_t i = 0; i < picture.rgb.size(); i += 3) {
        picture.rgb[i] = colour.r;
        picture.rgb[i + 1] = colour.g;
        picture.rgb[i + 2] = colour.b;
    }
    return picture;
}

namespace {

size_t pixelOffset(const Picture& picture, int32_t x, int32_t y) {
    return (static_cast<size_t>(y) * static_cast<size_t>(picture.width) + static_cast<size_t>(x)) * 3;
}

}  // namespace

void setPixel(Picture& picture, int32_t x, int32_t y, Rgb colour) {
    const size_t at = pixelOffset(picture, x, y);
    picture.rgb[at] = colour.r;
    picture.rgb[at + 1] = colour.g;
    picture.rgb[at + 2] = colour.b;
}

Rgb pixelAt(const Picture& picture, int32_t x, int32_t y) {
    const size_t at = pixelOffset(picture, x, y);
    return {picture.rgb[at], picture.rgb[at + 1], picture.rgb[at + 2]};
}

bool writePng(const std::string& path, const Picture& p) {
    return stbi_write_png(path.c_str(), p.width, p.height, 3, p.rgb.data(), p.width * 3) != 0;
}

bool writePngChannels(const std::string& path, int32_t width, int32_t height, int channels,
                      const std::vector<uint8_t>& bytes) {
    return stbi_write_png(path.c_str(), width, height, channels, bytes.data(), width * channels) != 0;
}

bool writeBmp(const std::string& path, const Picture& p) {
    return stbi_write_bmp(path.c_str(), p.width, p.height, 3, p.rgb.data()) != 0;
}

bool writeJpeg(const std::string& path, const Picture& p) {
    return stbi_write_jpg(path.c_str(), p.width, p.height, 3, p.rgb.data(), 100) != 0;
}

namespace {

// LZW data of 8-bit codes only: a clear code before every run of 100
// literals keeps the code table from ever growing to 9-bit codes.
std::vector<uint8_t> gifCodes(const std::vector<uint8_t>& indices) {
    constexpr uint8_t kClear = 128, kEnd = 129;
    std::vector<uint8_t> codes;
    for (size_t i = 0; i < indices.size(); ++i) {
        if (i % 100 == 0) codes.push_back(kClear);
        codes.push_back(indices[i]);
    }
    codes.push_back(kEnd);
    return codes;
}

}  // namespace

bool writeGif(const std::string& path, const Picture& picture) {
    std::vector<Rgb> palette;
    std::vector<uint8_t> indices;
    for (int32_t y = 0; y < picture.height; ++y)
        for (int32_t x = 0; x < picture.width; ++x) {
            const Rgb c = pixelAt(picture, x, y);
            auto found = std::find(palette.begin(), palette.end(), c);
            if (found == palette.end()) {
                if (palette.size() == 128) return false;
                found = palette.insert(palette.end(), c);
            }
            indices.push_back(static_cast<uint8_t>(found - palette.begin()));
        }
    palette.resize(128);

    std::vector<uint8_t> out{'G', 'I', 'F', '8', '9', 'a'};
    appendLittleEndian(out, static_cast<uint32_t>(picture.width), 2);
    appendLittleEndian(out, static_cast<uint32_t>(picture.height), 2);
    out.insert(out.end(), {0xF6, 0, 0});  // 128-entry global colour table
    for (const Rgb& c : palette) out.insert(out.end(), {c.r, c.g, c.b});
    out.insert(out.end(), {0x2C, 0, 0, 0, 0});  // an image descriptor at the origin
    appendLittleEndian(out, static_cast<uint32_t>(picture.width), 2);
    appendLittleEndian(out, static_cast<uint32_t>(picture.height), 2);
    out.insert(out.end(), {0, 7});  // no local table; minimum code size: 8-bit codes
    const std::vector<uint8_t> codes = gifCodes(indices);
    for (size_t i = 0; i < codes.size(); i += 255) {
        const size_t n = std::min<size_t>(255, codes.size() - i);
        out.push_back(static_cast<uint8_t>(n));
        out.insert(out.end(), codes.begin() + static_cast<ptrdiff_t>(i), codes.begin() + static_cast<ptrdiff_t>(i + n));
    }
    out.push_back(0);
    out.push_back(0x3B);
    return writeBytes(path, out);
}

bool writeBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && written;
}

std::string tempPath(const std::string& name) { return std::string(LUMARA_TEST_TMP) + "/" + name; }
