#include "render/enlarger/resample_taps.h"

void ResampleTaps::prepare(int32_t sourceLength, int32_t length) {
    first.assign(static_cast<size_t>(length), 0);
    second.assign(static_cast<size_t>(length), 0);
    weight.assign(static_cast<size_t>(length), 0);
    const int64_t last = sourceLength - 1;
    for (int32_t i = 0; i < length; ++i) {
        // Centre of destination sample i in source samples, 16.16 fixed point.
        const int64_t centre = (2 * int64_t{i} + 1) * sourceLength * 65536 / (2 * int64_t{length}) - 32768;
        const int64_t index = centre < 0 ? 0 : centre >> 16;
        const auto k = static_cast<size_t>(i);
        if (centre < 0 || index >= last) {
            first[k] = second[k] = static_cast<uint32_t>(centre < 0 ? 0 : last);
        } else {
            first[k] = static_cast<uint32_t>(index);
            second[k] = static_cast<uint32_t>(index + 1);
            weight[k] = static_cast<uint32_t>((centre & 0xFFFF) >> 8);
        }
    }
}
