#include "starfield/distribution_map.h"

#include "starfield/level_table.h"
#include "starfield/random.h"

void DistributionMap::clear() {
    cellWidth = 0;
    cellHeight = 0;
    levelCount.fill(0);
    for (auto& points : levelPoints) std::vector<Point>().swap(points);
}

bool DistributionMap::canSample(const LevelTable& levels) const {
    if (cellWidth == 0 || cellHeight == 0) return false;
    for (size_t i = 0; i < levels.size(); ++i)
        if (levelCount[levels[i]] != 0) return true;
    return false;
}

void buildDistributionMap(DistributionMap& map, std::span<const uint8_t> data, uint32_t width,
                          uint32_t height, uint32_t targetWidth, uint32_t targetHeight) {
    map.clear();
    if (width == 0 || height == 0 || data.size() != size_t{width} * height) return;
    if (targetWidth == 0) targetWidth = width;
    if (targetHeight == 0) targetHeight = height;

    for (const uint8_t level : data) ++map.levelCount[level];
    for (size_t v = 0; v < map.levelPoints.size(); ++v) map.levelPoints[v].reserve(map.levelCount[v]);

    const uint8_t* level = data.data();
    for (uint64_t r = 0; r < height; ++r) {
        const auto y = static_cast<uint32_t>(r * targetHeight / height);
        for (uint64_t c = 0; c < width; ++c)
            map.levelPoints[*level++].push_back({static_cast<uint32_t>(c * targetWidth / width), y});
    }
    map.cellWidth = targetWidth / width + 1;
    map.cellHeight = targetHeight / height + 1;
}

DistributionMap::Point sampleDistribution(const DistributionMap& map, const LevelTable& levels,
                                          Random& rng) {
    const auto tableSize = static_cast<uint32_t>(levels.size());
    uint8_t level = 0;
    do {
        level = levels[static_cast<uint32_t>(rng()) % tableSize];
    } while (map.levelCount[level] == 0);

    const uint32_t count = map.levelCount[level];
    uint32_t index = static_cast<uint32_t>(rng());
    // One draw reaches only the first 32768 points; larger levels take a
    // second draw so every point of, say, a white picture can be chosen.
    if (count > 32768) index = (index << 15 | static_cast<uint32_t>(rng())) % count;
    else index %= count;

    DistributionMap::Point point = map.levelPoints[level][index];
    point.x += static_cast<uint32_t>(rng()) % map.cellWidth;
    point.y += static_cast<uint32_t>(rng()) % map.cellHeight;
    return point;
}
