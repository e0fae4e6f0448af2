#include "image_file.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string_view>
#include <vector>

#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STB_IMAGE_WRITE_STATIC
#include <stb_image_write.h>

#include "render/frame_rgb.h"

namespace {

std::string lowerExtension(std::string_view path) {
    const size_t dot = path.rfind('.');
    std::string ext(dot == std::string_view::npos ? "" : path.substr(dot + 1));
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return ext;
}

// Writes the header, then each row as `rowBytes` made by `makeRow` into
// one row buffer: a large frame is never copied whole.
template <class MakeRow>
bool writeRows(const std::string& path, const std::string& header, size_t rowBytes, int32_t rows,
               MakeRow makeRow, std::string& error) {
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) {
        error = "cannot write " + path + ": " + std::strerror(errno);
        return false;
    }
    std::vector<uint8_t> row(rowBytes);
    bool ok = std::fwrite(header.data(), 1, header.size(), file) == header.size();
    for (int32_t y = 0; ok && y < rows; ++y) {
        const uint8_t* bytes = makeRow(y, row.data());
        ok = std::fwrite(bytes, 1, rowBytes, file) == rowBytes;
    }
    ok = (std::fclose(file) == 0) && ok;
    if (!ok) error = "cannot write " + path + ": " + std::strerror(errno);
    return ok;
}

}  // namespace

bool writeFrameImage(const FrameTarget& frame, const std::string& path, std::string& error) {
    const std::string ext = lowerExtension(path);
    if (ext == "ppm") {
        const std::string header =
            "P6\n" + std::to_string(frame.width) + " " + std::to_string(frame.height) + "\n255\n";
        return writeRows(path, header, static_cast<size_t>(frame.width) * 3, frame.height,
                         [&](int32_t y, uint8_t* row) {
                             rowToRgb(frame, y, row);
                             return static_cast<const uint8_t*>(row);
                         },
                         error);
    }
    // The PNG and BMP writers take the whole picture at once.
    const std::vector<uint8_t> rgb = frameToRgb(frame);
    int ok = 0;
    if (ext == "png") ok = stbi_write_png(path.c_str(), frame.width, frame.height, 3, rgb.data(), frame.width * 3);
    else if (ext == "bmp") ok = stbi_write_bmp(path.c_str(), frame.width, frame.height, 3, rgb.data());
    else {
        error = "unknown picture kind for " + path;
        return false;
    }
    if (!ok) error = "cannot write " + path;
    return ok != 0;
}

bool writeFrameRaw(const FrameTarget& frame, const std::string& path, std::string& error) {
    const size_t rowBytes = static_cast<size_t>(frame.width) * static_cast<size_t>(bytesPerPixel(frame.format));
    return writeRows(path, "", rowBytes, frame.height,
                     [&](int32_t y, uint8_t*) { return static_cast<const uint8_t*>(frame.row(y)); }, error);
}
