// Picture files as star distributions: any bytes go through the decoder and
// the map building; the result is a usable map that sampling can draw from,
// or a refusal, never a crash, hang or runaway allocation. The same bytes,
// read as a width, a height and pixel data, test the map building against
// malformed decoder output.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>

#include "platform/linux/stb_picture_decoder.h"
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

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::span<const uint8_t> bytes(data, size);
    if (Picture picture; decodePicture(bytes, picture, kFuzzMaxPixels)) buildAndSample(picture);

    if (size >= 4) {
        Picture raw;
        raw.width = static_cast<int16_t>(data[0] | data[1] << 8);
        raw.height = static_cast<int16_t>(data[2] | data[3] << 8);
        raw.rgb.assign(data + 4, data + size);
        buildAndSample(raw);
    }
    return 0;
}
