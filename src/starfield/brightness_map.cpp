#include "starfield/brightness_map.h"

#include "starfield/picture_decoder.h"

std::vector<uint8_t> brightnessMap(const Picture& picture) {
    const size_t pixels = picture.rgb.size() / 3;
    std::vector<uint8_t> map(pixels);
    const uint8_t* rgb = picture.rgb.data();
    for (size_t i = 0; i < pixels; ++i, rgb += 3)
        map[i] = static_cast<uint8_t>((unsigned{rgb[0]} + rgb[1] + rgb[2]) / 3);
    return map;
}

std::vector<uint8_t> resampleToWidth(std::span<const uint8_t> map, uint32_t width, uint32_t height,
                                     uint32_t targetWidth, uint32_t targetRows) {
    std::vector<uint8_t> out(size_t{targetWidth} * targetRows);
    uint8_t* next = out.data();
    // 64-bit products: a tall picture's row index times its height passes 2^32.
    for (uint64_t i = 0; i < targetRows; ++i) {
        const uint8_t* row = map.data() + i * height / targetRows * width;
        for (uint64_t j = 0; j < targetWidth; ++j) *next++ = row[j * width / targetWidth];
    }
    return out;
}
