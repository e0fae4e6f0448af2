#include "platform/linux/pictures/jpeg_table_check.h"

#include <cstddef>

namespace {

// Reads the way the decoder does: past the end of the data come zeros.
uint8_t byteAt(std::span<const uint8_t> bytes, size_t at) { return at < bytes.size() ? bytes[at] : 0; }

// A table-definition segment whose body starts at `at`, as the decoder walks
// it: tables of 17 header bytes and their codes until the stated length is used up.
bool tablesFit(std::span<const uint8_t> bytes, size_t at) {
    int64_t left = (byteAt(bytes, at - 2) << 8 | byteAt(bytes, at - 1)) - 2;
    while (left > 0) {
        int codes = 0;
        for (size_t i = 1; i <= 16; ++i) codes += byteAt(bytes, at + i);
        if (codes > 256) return false;
        at += 17 + static_cast<size_t>(codes);
        left -= 17 + codes;
    }
    return true;
}

}  // namespace

bool jpegHuffmanTablesFit(std::span<const uint8_t> bytes) {
    // The decoder takes any run of 0xFF bytes before the start-of-image code.
    size_t at = 0;
    while (at < bytes.size() && bytes[at] == 0xFF) ++at;
    if (at == 0 || at == bytes.size() || bytes[at] != 0xD8) return true;
    ++at;
    // Segments are followed by their stated lengths. Inside compressed scan
    // data every marker is looked at, so no table the decoder could reach is missed.
    while (at + 1 < bytes.size()) {
        if (bytes[at] != 0xFF) {
            ++at;
            continue;
        }
        const uint8_t marker = bytes[at + 1];
        if (marker == 0xFF) {  // fill byte
            ++at;
            continue;
        }
        // No length follows stuffed zeros, restart markers, start and end of image.
        if (marker == 0x00 || marker == 0x01 || (marker >= 0xD0 && marker <= 0xD9)) {
            at += 2;
            continue;
        }
        if (marker == 0xC4 && !tablesFit(bytes, at + 4)) return false;
        const size_t length = static_cast<size_t>(byteAt(bytes, at + 2) << 8 | byteAt(bytes, at + 3));
        // A start of scan is followed by compressed data, walked byte by byte.
        at += 2 + (marker == 0xDA || length < 2 ? 2 : length);
    }
    return true;
}
