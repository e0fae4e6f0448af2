#include "starfield/picture_memory.h"

#include <algorithm>
#include <array>

#include "base/byte_order.h"

// The figures follow the buffers a decoder keeps at its peak: for PNG the
// collected compressed data, the inflated rows (grown by doubling from the
// size the header promises), the image at its native depth and the
// conversion to three 8-bit channels; for JPEG one plane per component,
// padded to whole blocks, plus two bytes per sample of coefficients when
// progressive; for GIF two four-channel canvases and a history plane. In
// every case the decoded RGB picture and its copy handed to the caller are
// alive together at the end.

namespace {

uint64_t ceilDiv(uint64_t a, uint64_t b) { return (a + b - 1) / b; }

// The RGB picture the decoder returns and the copy made of it.
uint64_t handedOut(uint64_t pixels) { return 2 * 3 * pixels; }

bool pngBytes(std::span<const uint8_t> file, uint64_t& bytes) {
    static constexpr std::array<uint8_t, 8> kSignature = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (file.size() < 8 || !std::equal(kSignature.begin(), kSignature.end(), file.begin())) return false;
    size_t at = 8;
    // Apple's "CgBI" chunk may come before the header.
    while (at + 8 <= file.size() && readBigEndian32(&file[at + 4]) == 0x43674249) at += 12 + uint64_t{readBigEndian32(&file[at])};
    if (at + 21 > file.size() || readBigEndian32(&file[at + 4]) != 0x49484452) return false;  // "IHDR"
    const uint64_t w = readBigEndian32(&file[at + 8]), h = readBigEndian32(&file[at + 12]);
    const uint32_t depth = file[at + 16], colour = file[at + 17];
    const bool interlaced = file[at + 20] == 1;
    static constexpr std::array<uint32_t, 7> kChannels = {1, 0, 3, 1, 2, 0, 4};
    if (w == 0 || h == 0 || w > (1u << 24) || h > (1u << 24) || colour >= kChannels.size() ||
        kChannels[colour] == 0 || depth == 0 || depth > 16)
        return false;
    const uint64_t n = kChannels[colour];
    const bool palette = colour == 3;
    const uint64_t sampleBytes = depth == 16 ? 2 : 1;
    const uint64_t pixels = w * h;
    auto rows = [&](uint64_t pw, uint64_t ph) { return ph * (ceilDiv(pw * n * depth, 8) + 1); };

    // Inflated data: the buffer starts at the promised size and doubles.
    uint64_t inflated = 0, largestPass = 0;
    if (interlaced) {
        static constexpr int kX0[] = {0, 4, 0, 2, 0, 1, 0}, kY0[] = {0, 0, 4, 0, 2, 0, 1};
        static constexpr int kDx[] = {8, 8, 4, 4, 2, 2, 1}, kDy[] = {8, 8, 8, 4, 4, 2, 2};
        for (int p = 0; p < 7; ++p) {
            const uint64_t pw = w > uint64_t(kX0[p]) ? ceilDiv(w - kX0[p], kDx[p]) : 0;
            const uint64_t ph = h > uint64_t(kY0[p]) ? ceilDiv(h - kY0[p], kDy[p]) : 0;
            if (pw == 0 || ph == 0) continue;
            inflated += rows(pw, ph);
            largestPass = std::max(largestPass, pw * ph);
        }
    } else {
        inflated = rows(w, h);
    }
    uint64_t capacity = std::max<uint64_t>(ceilDiv(w * depth, 8) * h * n + h, 1);
    while (capacity < inflated) capacity *= 2;

    // A transparent colour adds an alpha channel to grey and RGB pictures.
    const uint64_t outChannels = palette ? 1 : n + (colour == 0 || colour == 2 ? 1 : 0);
    const uint64_t image = pixels * outChannels * sampleBytes;
    const uint64_t collected = 2 * file.size();  // compressed chunks, gathered into a doubling buffer
    uint64_t peak = std::max({collected + capacity, capacity + image + largestPass * outChannels * sampleBytes,
                              handedOut(pixels)});
    if (palette) peak = std::max(peak, capacity + image + 3 * pixels);
    else peak = std::max(peak, image + 3 * pixels * sampleBytes);
    if (depth == 16) peak = std::max(peak, 3 * pixels * 2 + 3 * pixels);
    bytes = file.size() + peak;
    return true;
}

bool jpegBytes(std::span<const uint8_t> file, uint64_t& bytes) {
    size_t at = 0;
    while (at < file.size() && file[at] == 0xFF) ++at;
    if (at == 0 || at >= file.size() || file[at] != 0xD8) return false;
    ++at;
    // Segments up to the frame header; bytes between segments are skipped
    // one at a time, as the decoder does.
    while (at + 1 < file.size()) {
        if (file[at] != 0xFF) {
            ++at;
            continue;
        }
        while (at < file.size() && file[at] == 0xFF) ++at;
        if (at + 2 >= file.size()) return false;
        const uint8_t marker = file[at];
        if (marker == 0xC0 || marker == 0xC1 || marker == 0xC2) {
            const size_t f = at + 1;
            if (f + 8 > file.size()) return false;
            const uint64_t h = readBigEndian16(&file[f + 3]), w = readBigEndian16(&file[f + 5]);
            const uint32_t components = file[f + 7];
            if (w == 0 || h == 0 || components == 0 || components > 4 || f + 8 + 3 * components > file.size())
                return false;
            uint32_t hMax = 1, vMax = 1;
            std::array<uint32_t, 4> hs{}, vs{};
            for (uint32_t c = 0; c < components; ++c) {
                hs[c] = file[f + 9 + 3 * c] >> 4;
                vs[c] = file[f + 9 + 3 * c] & 15;
                if (hs[c] == 0 || hs[c] > 4 || vs[c] == 0 || vs[c] > 4) return false;
                hMax = std::max(hMax, hs[c]);
                vMax = std::max(vMax, vs[c]);
            }
            const uint64_t mcuX = ceilDiv(w, 8 * hMax), mcuY = ceilDiv(h, 8 * vMax);
            const uint64_t perSample = marker == 0xC2 ? 1 + 2 : 1;  // the plane, and coefficients when progressive
            uint64_t planes = 0;
            for (uint32_t c = 0; c < components; ++c)
                planes += (mcuX * hs[c] * 8) * (mcuY * vs[c] * 8) * perSample + 2 * 15 + w + 3;
            bytes = file.size() + std::max(planes + 3 * w * h, handedOut(w * h));
            return true;
        }
        if (marker == 0xD8 || marker == 0xD9 || (marker >= 0xD0 && marker <= 0xD7)) {
            ++at;
            continue;
        }
        const uint32_t length = readBigEndian16(&file[at + 1]);
        if (length < 2) return false;
        at += 1 + length;
    }
    return false;
}

bool gifBytes(std::span<const uint8_t> file, uint64_t& bytes) {
    if (file.size() < 10 || file[0] != 'G' || file[1] != 'I' || file[2] != 'F' || file[3] != '8' ||
        (file[4] != '7' && file[4] != '9') || file[5] != 'a')
        return false;
    const uint64_t pixels = uint64_t{readLittleEndian16(&file[6])} * readLittleEndian16(&file[8]);
    // Canvas and background of four channels, the history plane, then the
    // three-channel conversion beside them.
    bytes = file.size() + std::max((4 + 4 + 1 + 3) * pixels, handedOut(pixels));
    return true;
}

bool bmpBytes(std::span<const uint8_t> file, uint64_t& bytes) {
    if (file.size() < 26 || file[0] != 'B' || file[1] != 'M') return false;
    const uint32_t headerSize = readLittleEndian32(&file[14]);
    uint64_t w = 0, h = 0;
    if (headerSize == 12) {
        w = readLittleEndian16(&file[18]);
        h = readLittleEndian16(&file[20]);
    } else if (headerSize == 40 || headerSize == 56 || headerSize == 108 || headerSize == 124) {
        const auto height = static_cast<int32_t>(readLittleEndian32(&file[22]));
        w = readLittleEndian32(&file[18]);
        h = height < 0 ? 0 - static_cast<int64_t>(height) : height;
    } else {
        return false;
    }
    if (w > (1u << 24) || h > (1u << 24)) return false;
    bytes = file.size() + handedOut(w * h);
    return true;
}

}  // namespace

bool pictureDecodeBytes(std::span<const uint8_t> file, uint64_t& bytes) {
    // In the order the formats are told apart when decoding.
    return jpegBytes(file, bytes) || pngBytes(file, bytes) || bmpBytes(file, bytes) || gifBytes(file, bytes);
}
