#include "image_file.h"

#include <zlib.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string_view>
#include <vector>

#include "base/byte_order.h"
#include "base/message_text.h"
#include "frame_rgb.h"
#include "render_options.h"

// Every picture is written row by row straight from the frame, so a large
// frame is never copied whole: the frame is the only large allocation.
namespace {

std::string lowerExtension(std::string_view path) {
    const size_t dot = path.rfind('.');
    std::string ext(dot == std::string_view::npos ? "" : path.substr(dot + 1));
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return ext;
}

class OutputFile {
public:
    OutputFile(const std::string& path, std::string& error) : path_(path), error_(error) {
        file_ = std::fopen(path.c_str(), "wb");
        if (!file_) error_ = "cannot write " + shownInMessage(path) + ": " + std::strerror(errno);
    }
    ~OutputFile() {
        if (file_) std::fclose(file_);
    }
    bool open() const { return file_ != nullptr; }
    bool write(const void* bytes, size_t count) {
        ok_ = ok_ && std::fwrite(bytes, 1, count, file_) == count;
        return ok_;
    }
    bool close() {
        ok_ = (std::fclose(file_) == 0) && ok_;
        file_ = nullptr;
        if (!ok_) error_ = "cannot write " + shownInMessage(path_) + ": " + std::strerror(errno);
        return ok_;
    }

private:
    std::string path_;
    std::string& error_;
    FILE* file_ = nullptr;
    bool ok_ = true;
};

bool writeChunk(OutputFile& out, const char* type, const uint8_t* data, uint32_t length) {
    uint8_t head[8];
    writeBigEndian32(head, length);
    std::memcpy(head + 4, type, 4);
    uLong crc = crc32(0, reinterpret_cast<const Bytef*>(type), 4);
    if (length) crc = crc32(crc, data, length);
    uint8_t tail[4];
    writeBigEndian32(tail, static_cast<uint32_t>(crc));
    return out.write(head, 8) && (length == 0 || out.write(data, length)) && out.write(tail, 4);
}

// PNG, 8-bit RGB; each row filtered with "Sub" (the difference to the pixel
// on its left), which suits the dark, smooth frames, and deflated as a stream.
bool writePng(const FrameTarget& frame, OutputFile& out) {
    static const uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    uint8_t header[13] = {};
    writeBigEndian32(header, static_cast<uint32_t>(frame.width));
    writeBigEndian32(header + 4, static_cast<uint32_t>(frame.height));
    header[8] = 8;  // bits per channel
    header[9] = 2;  // RGB
    if (!out.write(kSignature, 8) || !writeChunk(out, "IHDR", header, 13)) return false;

    z_stream z{};
    if (deflateInit(&z, 6) != Z_OK) return false;
    const size_t rowBytes = static_cast<size_t>(frame.width) * 3;
    std::vector<uint8_t> rgb(rowBytes), filtered(rowBytes + 1);
    std::array<uint8_t, 65536> packed;
    bool ok = true;
    auto drain = [&](int flush) {
        do {
            z.next_out = packed.data();
            z.avail_out = static_cast<uInt>(packed.size());
            if (deflate(&z, flush) == Z_STREAM_ERROR) return false;
            const auto produced = static_cast<uint32_t>(packed.size() - z.avail_out);
            if (produced && !writeChunk(out, "IDAT", packed.data(), produced)) return false;
        } while (z.avail_out == 0);
        return true;
    };
    for (int32_t y = 0; ok && y < frame.height; ++y) {
        rowToRgb(frame, y, rgb.data());
        filtered[0] = 1;
        for (size_t i = 0; i < rowBytes; ++i)
            filtered[i + 1] = static_cast<uint8_t>(rgb[i] - (i >= 3 ? rgb[i - 3] : 0));
        z.next_in = filtered.data();
        z.avail_in = static_cast<uInt>(filtered.size());
        ok = drain(Z_NO_FLUSH);
    }
    ok = ok && drain(Z_FINISH);
    deflateEnd(&z);
    return ok && writeChunk(out, "IEND", nullptr, 0);
}

// BMP, 24-bit, rows bottom to top, each padded to four bytes.
bool writeBmp(const FrameTarget& frame, OutputFile& out) {
    const uint32_t rowBytes = (static_cast<uint32_t>(frame.width) * 3 + 3) & ~3u;
    uint8_t header[54] = {'B', 'M'};
    writeLittleEndian(header + 2, 54 + rowBytes * static_cast<uint32_t>(frame.height));
    writeLittleEndian(header + 10, 54);
    writeLittleEndian(header + 14, 40);
    writeLittleEndian(header + 18, static_cast<uint32_t>(frame.width));
    writeLittleEndian(header + 22, static_cast<uint32_t>(frame.height));
    header[26] = 1;   // planes
    header[28] = 24;  // bits per pixel
    if (!out.write(header, sizeof header)) return false;
    std::vector<uint8_t> rgb(static_cast<size_t>(frame.width) * 3), row(rowBytes, 0);
    for (int32_t y = frame.height - 1; y >= 0; --y) {
        rowToRgb(frame, y, rgb.data());
        for (size_t x = 0; x < static_cast<size_t>(frame.width); ++x) {
            row[3 * x] = rgb[3 * x + 2];
            row[3 * x + 1] = rgb[3 * x + 1];
            row[3 * x + 2] = rgb[3 * x];
        }
        if (!out.write(row.data(), rowBytes)) return false;
    }
    return true;
}

bool writePpm(const FrameTarget& frame, OutputFile& out) {
    const std::string header = "P6\n" + std::to_string(frame.width) + " " + std::to_string(frame.height) + "\n255\n";
    if (!out.write(header.data(), header.size())) return false;
    std::vector<uint8_t> rgb(static_cast<size_t>(frame.width) * 3);
    for (int32_t y = 0; y < frame.height; ++y) {
        rowToRgb(frame, y, rgb.data());
        if (!out.write(rgb.data(), rgb.size())) return false;
    }
    return true;
}

}  // namespace

bool writeFrameImage(const FrameTarget& frame, const std::string& path, std::string& error) {
    const std::string ext = lowerExtension(path);
    if (ext != "png" && ext != "ppm" && ext != "bmp") {
        error = "unknown picture kind for " + shownInMessage(path);
        return false;
    }
    OutputFile out(path, error);
    if (!out.open()) return false;
    const bool written = ext == "png" ? writePng(frame, out) : ext == "bmp" ? writeBmp(frame, out) : writePpm(frame, out);
    const bool closed = out.close();
    if (!written && closed) error = "cannot write " + shownInMessage(path);
    return written && closed;
}

bool writeFrameRaw(const FrameTarget& frame, const std::string& path, std::string& error) {
    OutputFile out(path, error);
    if (!out.open()) return false;
    const size_t rowBytes = static_cast<size_t>(frame.width) * static_cast<size_t>(bytesPerPixel(frame.format));
    bool ok = true;
    for (int32_t y = 0; ok && y < frame.height; ++y) ok = out.write(frame.row(y), rowBytes);
    return out.close() && ok;
}
