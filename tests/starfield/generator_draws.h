#pragma once
#include <cstdint>

#include "starfield/random.h"

// Values drawn from the generator to get from `before` to `after`
// (UINT32_MAX when not within ten million).
inline uint32_t drawsBetween(Random before, const Random& after) {
    for (uint32_t n = 0; n < 10000000; ++n, before())
        if (before.state() == after.state()) return n;
    return UINT32_MAX;
}
