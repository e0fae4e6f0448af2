#include "starfield/sine_table.h"

#include <cmath>

SineTable::SineTable() {
    for (int i = 0; i <= kSteps; ++i) {
        const double radians = static_cast<double>(i) / kSteps * 1.5707963267948966;
        table_[static_cast<size_t>(i)] = static_cast<int64_t>(std::sin(radians) * 65536.0);
    }
}

int64_t SineTable::sine(int64_t angle) const {
    const int64_t a = angle % kAngleTurn;
    auto at = [this](int64_t index) { return table_[static_cast<size_t>(index)]; };
    if (a < kAngleQuarter) return at(a * kSteps / kAngleQuarter);
    if (a < kAngleHalf) return at(kSteps - (a - kAngleQuarter) * kSteps / kAngleQuarter);
    const int64_t b = a - kAngleHalf;
    if (b < kAngleQuarter) return -at(b * kSteps / kAngleQuarter);
    return -at(kSteps - (b - kAngleQuarter) * kSteps / kAngleQuarter);
}
