#include "render/pixel_order.h"

#include <cstddef>
#include <utility>

#include "starfield/random.h"

namespace {

// A 30-bit draw: the first value gives the high half.
uint32_t wideDraw(Random& rng) {
    const auto high = static_cast<uint32_t>(rng());
    return high << 16 | static_cast<uint32_t>(rng());
}

}  // namespace

void PixelOrder::build(uint32_t columns, uint32_t rows, Random& rng) {
    entries_.clear();
    entries_.reserve(static_cast<size_t>(columns) * rows);
    for (uint32_t y = 0; y < rows; ++y)
        for (uint32_t x = 0; x < columns; ++x) entries_.push_back(x | y << 16);
    cursor_ = 0;

    const uint64_t size = entries_.size();
    const uint64_t swaps = 4 * size > 1 ? 4 * size - 1 : 0;
    for (uint64_t i = 0; i < swaps; ++i) {
        const uint32_t p = wideDraw(rng) % static_cast<uint32_t>(size);
        const uint32_t q = wideDraw(rng) % static_cast<uint32_t>(size);
        std::swap(entries_[p], entries_[q]);
    }
}
