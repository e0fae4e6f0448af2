#include "render/enlarger/bilinear_enlarger.h"

#include "render/enlarger/layouts.h"
#include "render/enlarger/widening.h"

using namespace enlarger;

void BilinearEnlarger::prepare(int32_t sourceWidth, int32_t sourceHeight, int32_t width, int32_t height,
                               Vectors vectors) {
    wideVectors_ = vectors == Vectors::Widest && wideVectorsAvailable();
    columns_.prepare(sourceWidth, width);
    rows_.prepare(sourceHeight, height);
    fourfoldColumns_ = width == 4 * int64_t{sourceWidth};
    fourfoldRows_ = height == 4 * int64_t{sourceHeight};
    columnLaneWeights_.resize(static_cast<size_t>(width) * 4);
    for (size_t i = 0; i < columnLaneWeights_.size(); ++i)
        columnLaneWeights_[i] = static_cast<uint16_t>(columns_.weight[i / 4]);
    sourceLanes_.assign(static_cast<size_t>(sourceWidth) * 4, 0);
    for (auto& row : widened_) row.assign(static_cast<size_t>(width) * 4, 0);
    widenedValid_ = {};
}

template <class Layout>
const uint16_t* BilinearEnlarger::widenedRow(const FrameTarget& source, uint32_t sourceRow, uint32_t keep) {
    for (size_t slot = 0; slot < 2; ++slot)
        if (widenedValid_[slot] && widenedFrom_[slot] == sourceRow) return widened_[slot].data();
    // Rows are needed in rising order: replace the slot that does not hold `keep`.
    const size_t slot = widenedValid_[0] && widenedFrom_[0] == keep ? 1 : 0;
    widenedFrom_[slot] = sourceRow;
    widenedValid_[slot] = true;

    constexpr size_t L = Layout::kLanesPerPixel;
    const auto sourceWidth = static_cast<size_t>(source.width);
    const size_t width = columns_.first.size();
    Layout::toLanes(source.row(static_cast<int32_t>(sourceRow)), sourceWidth, sourceLanes_.data(), sourceWidth * L);
    for (size_t c = 0; c < Layout::kPlanes; ++c) {
        const uint16_t* in = sourceLanes_.data() + c * sourceWidth * L;
        uint16_t* out = widened_[slot].data() + c * width * L;
        if (fourfoldColumns_) widenFourfold<L, Layout::kWeightBits>(in, sourceWidth, out, Layout::kPlaneMasks[c], wideVectors_);
        else widenByTaps<L>(in, columns_, columnLaneWeights_.data(), out);
    }
    return widened_[slot].data();
}

template <class Layout>
void BilinearEnlarger::enlargeAs(const FrameTarget& source, const FrameTarget& destination) {
    widenedValid_ = {};
    const size_t width = columns_.first.size();
    const size_t planeStride = width * Layout::kLanesPerPixel;
    const size_t height = rows_.first.size();
    for (size_t y = 0; y < height;) {
        const uint32_t top = rows_.first[y], bottom = rows_.second[y];
        RowBlock block;
        block.wideVectors = wideVectors_;
        block.firstWeight = rows_.weight[y];
        block.rows[block.count++] = destination.row(static_cast<int32_t>(y++));
        auto samePair = [&](size_t row) { return rows_.first[row] == top && rows_.second[row] == bottom; };
        if (y < height && samePair(y)) block.weightStep = rows_.weight[y] - block.firstWeight;
        for (; block.count < kBlockRows && y < height && samePair(y) && rows_.weight[y] == block.weight(block.count); ++y)
            block.rows[block.count++] = destination.row(static_cast<int32_t>(y));

        const uint16_t* topLanes = widenedRow<Layout>(source, top, bottom);
        const uint16_t* bottomLanes = widenedRow<Layout>(source, bottom, top);
        switch (block.count) {
        case 4: Layout::template blendRows<4>(topLanes, bottomLanes, width, planeStride, block); break;
        case 3: Layout::template blendRows<3>(topLanes, bottomLanes, width, planeStride, block); break;
        case 2: Layout::template blendRows<2>(topLanes, bottomLanes, width, planeStride, block); break;
        default: Layout::template blendRows<1>(topLanes, bottomLanes, width, planeStride, block); break;
        }
    }
}

void BilinearEnlarger::enlarge(const FrameTarget& source, const FrameTarget& destination) {
    const bool fourfold = fourfoldColumns_ && fourfoldRows_;
    switch (destination.format) {
    case kFormatA8R8G8B8:
    case kFormatX8R8G8B8: enlargeAs<Layout32>(source, destination); break;
    case kFormatR5G6B5:
        if (fourfold) enlargeAs<Layout16Fourfold<11, 6>>(source, destination);
        else enlargeAs<Layout16<11, 6>>(source, destination);
        break;
    case kFormatX1R5G5B5:
        if (fourfold) enlargeAs<Layout16Fourfold<10, 5>>(source, destination);
        else enlargeAs<Layout16<10, 5>>(source, destination);
        break;
    default: break;
    }
}
