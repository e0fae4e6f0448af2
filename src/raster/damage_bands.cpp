#include "raster/damage_bands.h"

#include <algorithm>

namespace {

using Rect = FrameDamage::Rect;
constexpr int32_t kRow = FrameDamage::kCellSide;

int64_t area(const Rect& r) { return int64_t{r.width} * r.height; }

Rect box(const Rect& a, const Rect& b) {
    const int32_t left = std::min(a.left, b.left), top = std::min(a.top, b.top);
    const int32_t right = std::max(a.left + a.width, b.left + b.width);
    const int32_t bottom = std::max(a.top + a.height, b.top + b.height);
    return {left, top, right - left, bottom - top};
}

}  // namespace

void DamageBands::resize(int32_t width, int32_t height) {
    width_ = std::max(width, 0);
    height_ = std::max(height, 0);
    const size_t rows = static_cast<size_t>((height_ + kRow - 1) / kRow);
    left_.assign(rows, 0);
    right_.assign(rows, 0);
    bands_.clear();
    bands_.reserve(rows);
}

std::span<const FrameDamage::Rect> DamageBands::cover(std::span<const FrameDamage::Rect> changed, size_t most) {
    bands_.clear();
    std::fill(left_.begin(), left_.end(), width_);
    std::fill(right_.begin(), right_.end(), 0);
    for (const Rect& r : changed) {
        const int32_t left = std::max(r.left, 0), right = std::min(r.left + r.width, width_);
        const int32_t top = std::max(r.top, 0), bottom = std::min(r.top + r.height, height_);
        if (left >= right || top >= bottom) continue;
        for (int32_t row = top / kRow; row <= (bottom - 1) / kRow; ++row) {
            left_[static_cast<size_t>(row)] = std::min(left_[static_cast<size_t>(row)], left);
            right_[static_cast<size_t>(row)] = std::max(right_[static_cast<size_t>(row)], right);
        }
    }
    // A band per row, rows of the same extent one band.
    for (size_t row = 0; row < left_.size(); ++row) {
        if (left_[row] >= right_[row]) continue;
        const int32_t top = static_cast<int32_t>(row) * kRow, height = std::min(kRow, height_ - top);
        if (!bands_.empty()) {
            Rect& above = bands_.back();
            const bool same = above.left == left_[row] && above.left + above.width == right_[row];
            if (same && above.top + above.height == top) {
                above.height += height;
                continue;
            }
        }
        bands_.push_back(Rect{left_[row], top, right_[row] - left_[row], height});
    }
    // Neighbours joined, the cheapest join first.
    while (bands_.size() > std::max<size_t>(most, 1)) {
        size_t best = 0;
        int64_t bestAdded = INT64_MAX;
        for (size_t i = 0; i + 1 < bands_.size(); ++i) {
            const int64_t added = area(box(bands_[i], bands_[i + 1])) - area(bands_[i]) - area(bands_[i + 1]);
            if (added < bestAdded) {
                bestAdded = added;
                best = i;
            }
        }
        bands_[best] = box(bands_[best], bands_[best + 1]);
        bands_.erase(bands_.begin() + static_cast<ptrdiff_t>(best) + 1);
    }
    int64_t covered = 0;
    for (const Rect& r : bands_) covered += area(r);
    if (covered * 2 > int64_t{width_} * height_) bands_.assign(1, Rect{0, 0, width_, height_});
    return bands_;
}
