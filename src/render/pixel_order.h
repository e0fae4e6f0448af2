#pragma once
#include <cstdint>
#include <vector>

class Random;

// The order in which the nebula's picture is renewed: every pixel position
// once, shuffled, as x | y << 16. The cursor walks it round and round, so
// any `size()` consecutive pixels renew the whole picture exactly once.
class PixelOrder {
public:
    // Fills the positions of a columns x rows picture in row order and
    // shuffles them with 4 * size - 1 swaps, four draws each.
    // Columns and rows are at most 65535 (16 bits each).
    void build(uint32_t columns, uint32_t rows, Random& rng);

    uint32_t size() const { return static_cast<uint32_t>(entries_.size()); }

    // The entry at the cursor; the cursor moves on, back to 0 after the last.
    // Only for a non-empty order.
    uint32_t next() {
        const uint32_t e = entries_[cursor_];
        if (++cursor_ == entries_.size()) cursor_ = 0;
        return e;
    }

    static uint32_t column(uint32_t e) { return e & 0xFFFFu; }
    static uint32_t row(uint32_t e) { return e >> 16; }

private:
    std::vector<uint32_t> entries_;
    uint32_t cursor_ = 0;
};
