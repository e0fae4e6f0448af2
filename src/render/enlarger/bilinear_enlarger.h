#pragma once
#include <array>
#include <cstdint>
#include <vector>

#include "render/enlarger/resample_taps.h"
#include "raster/frame_target.h"

// Enlarges a picture to a larger one of the same pixel format with bilinear
// filtering, straight into the destination. Each pass rounds to the
// channel's own precision: first across (every source row is widened once),
// then down (every destination row is a blend of the two widened rows around
// it, one weight for the whole row).
//
// The nebula's picture is a quarter of the frame, so it usually enlarges
// exactly four-fold; then the widening needs no per-column taps, and 16-bit
// pixels blend two channels in a lane. Any other ratio uses the taps.
class BilinearEnlarger {
public:
    // Which vectors to blend with: the widest the processor has (AVX2 where
    // present), or SSE2 alone. Both give the same bytes.
    enum class Vectors { Widest, Sse2 };

    // Taps for a source of sourceWidth x sourceHeight into a destination of
    // width x height, every side at least 1.
    void prepare(int32_t sourceWidth, int32_t sourceHeight, int32_t width, int32_t height,
                 Vectors vectors = Vectors::Widest);

    // Overwrites every pixel of `destination` from `source`; both must have
    // the prepared sizes and the same drawable format.
    void enlarge(const FrameTarget& source, const FrameTarget& destination);

private:
    template <class Layout>
    void enlargeAs(const FrameTarget& source, const FrameTarget& destination);
    template <class Layout>
    const uint16_t* widenedRow(const FrameTarget& source, uint32_t sourceRow, uint32_t keep);

    ResampleTaps columns_;
    ResampleTaps rows_;
    bool fourfoldColumns_ = false;
    bool fourfoldRows_ = false;
    bool wideVectors_ = false;
    // Each column's weight once per lane of its pixel, for widening two
    // 32-bit pixels at a time at other ratios.
    std::vector<uint16_t> columnLaneWeights_;
    // One source row as channel lanes (see the layouts).
    std::vector<uint16_t> sourceLanes_;
    // Two widened rows in the same lanes, and which source row each holds.
    std::array<std::vector<uint16_t>, 2> widened_;
    std::array<uint32_t, 2> widenedFrom_{};
    std::array<bool, 2> widenedValid_{};
};
