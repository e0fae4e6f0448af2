#pragma once
#include <array>
#include <cstdint>
#include <vector>

#include "render/frame_target.h"

// Enlarges a picture to a larger one of the same pixel format with bilinear
// filtering, straight into the destination. Each source row is widened once
// (its taps worked out in advance) into one of two row buffers; every
// destination row is then a blend of the two widened rows around it, one
// weight for the whole row, which runs at memory speed. Sample centres map
// onto each other as a graphics device's linear stretch maps them; beyond
// the outermost source centres the edge pixels extend.
class BilinearEnlarger {
public:
    // Taps for a source of sourceWidth x sourceHeight into a destination of
    // width x height, every side at least 1.
    void prepare(int32_t sourceWidth, int32_t sourceHeight, int32_t width, int32_t height);

    // Overwrites every pixel of `destination` from `source`; both must have
    // the prepared sizes and the same drawable format.
    void enlarge(const FrameTarget& source, const FrameTarget& destination);

private:
    // Source indices and the weight (0..256) of the second, per destination index.
    struct Taps {
        std::vector<uint32_t> first;
        std::vector<uint32_t> second;
        std::vector<uint32_t> weight;
        void prepare(int32_t sourceLength, int32_t length);
    };
    template <class Layout>
    void enlargeAs(const FrameTarget& source, const FrameTarget& destination);
    template <class Layout>
    const uint8_t* widenedRow(const FrameTarget& source, uint32_t sourceRow, uint32_t keep);
    void preparePair(const uint8_t* top, const uint8_t* bottom, bool planar);
    void blendPair(uint8_t* out, uint32_t weightOfBottom) const;
    template <int RedShift, int GreenShift>
    void blendPairFields(uint8_t* out, uint32_t weightOfBottom) const;

    Taps columns_;
    Taps rows_;
    // Each column's weight once per byte of its pixel, for blending four
    // pixels at a time.
    std::vector<uint16_t> columnByteWeights_;
    // The two widened rows a run of destination rows blends, ready for
    // blending (see preparePair), and which source rows they are.
    std::vector<uint16_t> pairBase_;
    std::vector<uint16_t> pairStep_;
    std::array<uint32_t, 2> pairRows_{};
    bool pairValid_ = false;
    // Widened rows as blue, green, red, 0 bytes per destination pixel, and
    // which source row each holds.
    std::array<std::vector<uint8_t>, 2> widened_;
    std::array<uint32_t, 2> widenedFrom_{};
    std::array<bool, 2> widenedValid_{};
};
