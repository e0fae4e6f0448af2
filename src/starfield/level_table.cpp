#include "starfield/level_table.h"

#include <cmath>

LevelTable::LevelTable() {
    entries_.reserve(kCapacity);
    for (int v = 0; v < 256; ++v) {
        const int weight = static_cast<int>(256.0 * std::sin(v / 256.0));
        entries_.insert(entries_.end(), static_cast<size_t>(weight), static_cast<uint8_t>(v));
    }
}
