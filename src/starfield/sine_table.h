#pragma once
#include <array>
#include <cstddef>
#include <cstdint>

// Roll angles count this many units per turn (2*pi*65536, truncated).
inline constexpr int64_t kAngleTurn = 411774;
inline constexpr int64_t kAngleQuarter = 102943;
inline constexpr int64_t kAngleHalf = 205887;

// Quarter-wave sine in 16.16 fixed point: entry i is sin(i/4096 * pi/2).
// The star pass needs a sine per star per step; the table keeps that integer.
class SineTable {
public:
    static constexpr int kSteps = 4096;

    SineTable();

    // 16.16 sine of a roll angle (angle >= 0).
    int64_t sine(int64_t angle) const;
    int64_t cosine(int64_t angle) const { return sine(angle + kAngleQuarter); }

    int64_t entry(int i) const { return table_[static_cast<size_t>(i)]; }

private:
    std::array<int64_t, kSteps + 1> table_{};
};
