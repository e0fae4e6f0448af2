#pragma once
#include <array>
#include <cstdint>
#include <span>
#include <vector>

class LevelTable;
class Random;

// A picture's pixel positions sorted into 256 brightness levels, in a
// target area (1024 x 1024 for the star field). Stars placed in picture
// mode are drawn from it.
struct DistributionMap {
    struct Point {
        uint32_t x = 0;
        uint32_t y = 0;
    };

    uint32_t cellWidth = 0;   // x jitter range
    uint32_t cellHeight = 0;  // y jitter range
    std::array<uint32_t, 256> levelCount{};
    std::array<std::vector<Point>, 256> levelPoints;

    void clear();
    // True when sampling ends: some level of non-zero weight holds points
    // and the jitter ranges are non-zero.
    bool canSample(const LevelTable& levels) const;
};

// Sorts the width x height levels in data (row by row) into the map, each
// pixel becoming the point (c * targetWidth / width, r * targetHeight / height),
// so the picture is stretched over the target area whatever its shape. A
// target size of 0 means the source size. Data of another size, or of no
// width or height, leaves the map empty.
void buildDistributionMap(DistributionMap& map, std::span<const uint8_t> data, uint32_t width,
                          uint32_t height, uint32_t targetWidth, uint32_t targetHeight);

// A random point of the map, px and py in 0..1024: a level by the level
// table's weights, a point of that level, then jitter within its cell.
DistributionMap::Point sampleDistribution(const DistributionMap& map, const LevelTable& levels,
                                          Random& rng);
