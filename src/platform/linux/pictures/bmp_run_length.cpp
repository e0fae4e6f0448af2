#include "platform/linux/pictures/bmp_run_length.h"

#include <algorithm>
#include <array>
#include <utility>
#include <vector>

#include "base/byte_order.h"

namespace {

constexpr uint32_t kRle8 = 1, kRle4 = 2;
// The file header and the smallest Windows info header.
constexpr size_t kHeadersSize = 14 + 40;

using Palette = std::array<std::array<uint8_t, 3>, 256>;

// Where the next decoded pixel goes: rows counted from the bottom, as the
// file stores them. Each pixel is reached at most once, since a run only
// moves right and a line end or a move only up, so decoding takes no more
// steps than the picture has pixels and the file has codes.
class PixelCursor {
public:
    PixelCursor(Picture& picture, const Palette& palette)
        : picture_(picture), palette_(palette), width_(static_cast<uint32_t>(picture.width)),
          height_(static_cast<uint32_t>(picture.height)) {}

    bool pastTop() const { return y_ >= height_; }

    // How many of `count` pixels still fit into the row.
    uint32_t room(uint32_t count) const { return std::min(count, width_ - x_); }

    // Puts the next pixel of the row; only called within room().
    void put(uint8_t index) {
        const size_t at = (static_cast<size_t>(height_ - 1 - y_) * width_ + x_) * 3;
        std::copy(palette_[index].begin(), palette_[index].end(), picture_.rgb.begin() + static_cast<ptrdiff_t>(at));
        ++x_;
    }
    // After a run past the row's end nothing more is drawn into the row.
    void skipRest() { x_ = width_; }

    void endLine() {
        x_ = 0;
        ++y_;
    }
    // A move past the row's end stops there.
    void move(uint32_t right, uint32_t up) {
        x_ = std::min(x_ + right, width_);
        y_ += up;
    }

private:
    Picture& picture_;
    const Palette& palette_;
    const uint32_t width_, height_;
    uint32_t x_ = 0, y_ = 0;
};

// The index of pixel `i` of a run written out index by index: one byte each
// in 8-bit pictures; in 4-bit ones two a byte, the high half first.
uint8_t indexAt(const uint8_t* bytes, uint32_t i, bool fourBit) {
    if (!fourBit) return bytes[i];
    const uint8_t both = bytes[i / 2];
    return i % 2 == 0 ? static_cast<uint8_t>(both >> 4) : static_cast<uint8_t>(both & 15);
}

// Runs the codes of `data` into the cursor until the end-of-picture mark or
// the top of the picture; false when the data end before either.
bool decodeRuns(std::span<const uint8_t> data, bool fourBit, PixelCursor& cursor) {
    size_t at = 0;
    while (!cursor.pastTop()) {
        if (at + 2 > data.size()) return false;
        const uint8_t count = data[at], value = data[at + 1];
        at += 2;
        if (count > 0) {  // `count` pixels of the one index, or in 4-bit pictures two taking turns
            const auto first = static_cast<uint8_t>(fourBit ? value >> 4 : value);
            const auto second = static_cast<uint8_t>(fourBit ? value & 15 : value);
            const uint32_t n = cursor.room(count);
            for (uint32_t i = 0; i < n; ++i) cursor.put(i % 2 == 0 ? first : second);
            if (n < count) cursor.skipRest();
            continue;
        }
        switch (value) {
        case 0: cursor.endLine(); break;
        case 1: return true;  // end of the picture
        case 2:  // move right and up by the next two bytes
            if (at + 2 > data.size()) return false;
            cursor.move(data[at], data[at + 1]);
            at += 2;
            break;
        default: {  // `value` indexes as they stand, padded to an even number of bytes
            const size_t bytes = fourBit ? (value + 1u) / 2 : value;
            if (bytes > data.size() - at) return false;
            const uint32_t n = cursor.room(value);
            for (uint32_t i = 0; i < n; ++i) cursor.put(indexAt(&data[at], i, fourBit));
            if (n < value) cursor.skipRest();
            at += bytes + (bytes & 1);
            break;
        }
        }
    }
    return true;
}

}  // namespace

bool isRunLengthBmp(std::span<const uint8_t> file) {
    if (file.size() < kHeadersSize || file[0] != 'B' || file[1] != 'M') return false;
    const uint32_t headerSize = readLittleEndian32(&file[14]);
    if (headerSize != 40 && headerSize != 56 && headerSize != 108 && headerSize != 124) return false;
    const uint32_t compression = readLittleEndian32(&file[30]);
    return compression == kRle8 || compression == kRle4;
}

bool decodeRunLengthBmp(std::span<const uint8_t> file, Picture& picture, int64_t maxPixels) {
    if (!isRunLengthBmp(file)) return false;
    const auto width = static_cast<int32_t>(readLittleEndian32(&file[18]));
    const auto height = static_cast<int32_t>(readLittleEndian32(&file[22]));
    const uint32_t bits = readLittleEndian16(&file[28]), compression = readLittleEndian32(&file[30]);
    const bool fourBit = compression == kRle4;
    if (bits != (fourBit ? 4u : 8u) || width <= 0 || height <= 0 || int64_t{width} * height > maxPixels) return false;

    // The palette follows the info header: as many entries as it says it
    // uses (all when it says 0), four bytes each, blue first.
    const uint64_t paletteAt = 14 + uint64_t{readLittleEndian32(&file[14])};
    const uint32_t used = readLittleEndian32(&file[46]), most = 1u << bits;
    const uint32_t entries = used == 0 ? most : std::min(used, most);
    const uint64_t pixelsAt = readLittleEndian32(&file[10]);
    if (paletteAt + uint64_t{entries} * 4 > file.size() || pixelsAt > file.size()) return false;
    Palette palette{};
    for (uint32_t i = 0; i < entries; ++i) {
        const uint8_t* entry = &file[static_cast<size_t>(paletteAt) + 4 * i];
        palette[i] = {entry[2], entry[1], entry[0]};
    }

    Picture decoded{width, height, std::vector<uint8_t>(static_cast<size_t>(width) * static_cast<size_t>(height) * 3, 0)};
    PixelCursor cursor(decoded, palette);
    if (!decodeRuns(file.subspan(static_cast<size_t>(pixelsAt)), fourBit, cursor)) return false;
    picture = std::move(decoded);
    return true;
}
