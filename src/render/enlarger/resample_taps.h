#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

// For each destination index along one side of an enlargement: the two
// source indices it lies between and the weight (0..255) of the second.
// Sample centres map onto each other as a graphics device's linear stretch
// maps them; beyond the outermost source centres the edge repeats.
struct ResampleTaps {
    std::vector<uint32_t> first;
    std::vector<uint32_t> second;
    std::vector<uint32_t> weight;
    void prepare(int32_t sourceLength, int32_t length);
};
