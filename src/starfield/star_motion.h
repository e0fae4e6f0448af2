#pragma once
// Moving and projecting one star: the arithmetic of the star pass, which
// every way of running the pass (one star at a time or in lanes) must
// reproduce to the bit.
#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdlib>

#include "starfield/star_field.h"

namespace starmotion {

// Positions move by wrapping 32-bit addition: a star flying away from the
// viewer (negative speed) is never retired by depth, and after days its
// depth must wrap rather than overflow.
inline int32_t wrappingAdd(int32_t a, int32_t b) {
    return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
}

// n / d truncated toward zero, for |n| < 2^53 and d != 0. The quotient is
// computed in double precision, which is exact here: a correctly rounded
// quotient of numbers below 2^53 never crosses an integer. It costs a
// fraction of a 64-bit integer division, and a star takes two.
inline int64_t exactQuotient(int64_t n, int64_t d) {
    return static_cast<int64_t>(static_cast<double>(n) / static_cast<double>(d));
}

// (n / d) * focalLength / 65536. The quotient is held where the product
// cannot overflow; any quotient that large projects far outside the view.
inline int32_t projectAxis(int64_t n, int64_t d, int64_t focalLength) {
    constexpr int64_t kLimit = int64_t{1} << 40;
    const int64_t q = std::clamp(exactQuotient(n, d), -kLimit, kLimit);
    return static_cast<int32_t>(std::clamp<int64_t>(q * focalLength / 65536, INT32_MIN, INT32_MAX));
}

// What moving and projecting a star needs of the field, worked out once a
// step: the star pass changes none of it.
struct Motion {
    int32_t dx, dy, dz;
    int64_t cosine, sine;
    int64_t focalLength;
    int64_t bound;  // retired at |projection| >= 2 * halfWidth
};

struct Projection {
    int32_t x = 0;
    int32_t y = 0;
};

// The motion of the field's current step (star_motion.cpp).
Motion motionOf(StarField& field);

inline Projection project(const Motion& m, int32_t x, int32_t y, int32_t z) {
    const int64_t d = z | 1;
    // |x * c - y * s| < 2^48: within the exact range of exactQuotient.
    return {projectAxis(int64_t{x} * m.cosine - int64_t{y} * m.sine, d, m.focalLength),
            projectAxis(int64_t{x} * m.sine + int64_t{y} * m.cosine, d, m.focalLength)};
}

// False when a star at depth z, projected to `at`, passed the viewer or
// left the view.
inline bool inFlight(const Motion& m, int32_t z, Projection at) {
    return z >= 0 && std::abs(int64_t{at.x}) < m.bound && std::abs(int64_t{at.y}) < m.bound;
}

// Moves a star one step and projects it to `at`; false when it is then to
// be retired (inFlight).
inline bool advance(const Motion& m, int32_t& x, int32_t& y, int32_t& z, Projection& at) {
    x = wrappingAdd(x, m.dx);
    y = wrappingAdd(y, m.dy);
    z = wrappingAdd(z, m.dz);
    at = project(m, x, y, z);
    return inFlight(m, z, at);
}

}  // namespace starmotion
