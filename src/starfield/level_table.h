#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

// Weighting of the 256 brightness levels when stars are drawn from a
// picture: level v appears trunc(256 * sin(v / 256)) times, so brighter
// parts of a picture receive more stars.
class LevelTable {
public:
    static constexpr size_t kCapacity = 65536;

    LevelTable();

    size_t size() const { return entries_.size(); }
    uint8_t operator[](size_t i) const { return entries_[i]; }

private:
    std::vector<uint8_t> entries_;
};
