// Picture files as star distributions: any bytes go through the decoder and
// the map building; the result is a usable map that sampling can draw from,
// or a refusal, never a crash, hang or runaway allocation. The same bytes,
// read as a width, a height and pixel data, test the map building against
// malformed decoder output; behind a run-length encoded BMP's header, they
// are that reader's codes without a header to be found first.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <vector>

#include "base/byte_order.h"
#include "platform/linux/pictures/stb_picture_decoder.h"
#include "starfield/distribution_map.h"
#include "starfield/distribution_pictures.h"
#include "starfield/level_table.h"
#include "starfield/random.h"

namespace {

// Smaller than the saver's limit so each input decodes in milliseconds and
// well inside the fuzzer's memory limit; the refusal path is the same.
constexpr int64_t kFuzzMaxPixels = 1 << 20;

void buildAndSample(const Picture& picture) {
    static const LevelTable levels;
    DistributionMap map;
    if (!buildPictureDistribution(picture, levels, map)) return;
    Random rng(41);
    for (int i = 0; i < 64; ++i) {
        const DistributionMap::Point p = sampleDistribution(map, levels, rng);
        if (p.x > 1024 || p.y > 1024) __builtin_trap();
    }
}

// A BMP of up to 64 x 16 pixels, 8 bits (odd `shape`) or 4, a palette of
// 16 greys and `codes` as its run-length encoded pixels.
std::vector<uint8_t> runLengthBmp(uint8_t shape, std::span<const uint8_t> codes) {
    std::vector<uint8_t> b(54 + 64, 0);
    for (size_t i = 0; i < 64; ++i) b[54 + i] = static_cast<uint8_t>(i / 4 * 17);
    const bool eightBit = shape & 1;
    for (const auto& [at, value] :
         {std::pair<size_t, uint32_t>{2, static_cast<uint32_t>(b.size() + codes.size())}, {6, 0}, {10, 54 + 64},
          {14, 40}, {18, 1u + (shape >> 1 & 63)}, {22, 1u + (shape >> 4)}, {26, 1u | (eightBit ? 8u : 4u) << 16},
          {30, eightBit ? 1u : 2u}, {34, 0}, {38, 0}, {42, 0}, {46, 16}, {50, 0}})
        writeLittleEndian(&b[at], value);
    b[0] = 'B';
    b[1] = 'M';
    b.insert(b.end(), codes.begin(), codes.end());
    return b;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::span<const uint8_t> bytes(data, size);
    if (Picture picture; decodePicture(bytes, picture, kFuzzMaxPixels)) buildAndSample(picture);

    if (size >= 1) {
        Picture picture;
        if (decodePicture(runLengthBmp(data[0], bytes.subspan(1)), picture, kFuzzMaxPixels)) buildAndSample(picture);
    }
    if (size >= 4) {
        Picture raw;
        raw.width = static_cast<int16_t>(data[0] | data[1] << 8);
        raw.height = static_cast<int16_t>(data[2] | data[3] << 8);
        raw.rgb.assign(data + 4, data + size);
        buildAndSample(raw);
    }
    return 0;
}
