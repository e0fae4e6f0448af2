#pragma once
#include <array>
#include <cstdint>
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

// A random point of the map, px and py in 0..1024: a level by the level
// table's weights, a point of that level, then jitter within its cell.
DistributionMap::Point sampleDistribution(const DistributionMap& map, const LevelTable& levels,
                                          Random& rng);
