#include "raster/frame_damage.h"

#include <algorithm>

void FrameDamage::resize(int32_t width, int32_t height) {
    width_ = std::max(width, 0);
    height_ = std::max(height, 0);
    columns_ = (width_ + kCellSide - 1) / kCellSide;
    rows_ = (height_ + kCellSide - 1) / kCellSide;
    cells_.assign(static_cast<size_t>(columns_) * static_cast<size_t>(rows_), 0);
    openAt_.assign(static_cast<size_t>(columns_), 0);
    rects_.clear();
    rects_.reserve(mostRects(width_, height_));
    marked_ = 0;
    whole_ = true;
}

size_t FrameDamage::mostRects(int32_t width, int32_t height) {
    const size_t columns = static_cast<size_t>((std::max(width, 0) + kCellSide - 1) / kCellSide);
    const size_t rows = static_cast<size_t>((std::max(height, 0) + kCellSide - 1) / kCellSide);
    return rows * ((columns + 1) / 2);
}

void FrameDamage::clear() {
    if (marked_ != 0) std::fill(cells_.begin(), cells_.end(), uint8_t{0});
    marked_ = 0;
    whole_ = false;
}

void FrameDamage::add(int32_t left, int32_t top, int32_t width, int32_t height) {
    if (whole_ || width <= 0 || height <= 0) return;
    const int64_t right = std::min<int64_t>(int64_t{left} + width, width_);
    const int64_t bottom = std::min<int64_t>(int64_t{top} + height, height_);
    const int64_t x0 = std::max(left, 0), y0 = std::max(top, 0);
    if (x0 >= right || y0 >= bottom) return;
    const int32_t firstColumn = static_cast<int32_t>(x0 / kCellSide);
    const int32_t lastColumn = static_cast<int32_t>((right - 1) / kCellSide);
    for (int64_t row = y0 / kCellSide; row <= (bottom - 1) / kCellSide; ++row) {
        uint8_t* cell = &cells_[static_cast<size_t>(row) * static_cast<size_t>(columns_)];
        for (int32_t column = firstColumn; column <= lastColumn; ++column) {
            marked_ += cell[column] ^ 1u;
            cell[column] = 1;
        }
    }
}

bool FrameDamage::whole() const { return whole_ || marked_ * 2 > cells_.size(); }

std::span<const FrameDamage::Rect> FrameDamage::rects() {
    rects_.clear();
    if (whole_ || marked_ == 0) return {};
    for (int32_t row = 0; row < rows_; ++row) {
        const uint8_t* cell = &cells_[static_cast<size_t>(row) * static_cast<size_t>(columns_)];
        const int32_t top = row * kCellSide, height = std::min(kCellSide, height_ - top);
        for (int32_t column = 0; column < columns_;) {
            if (!cell[column]) {
                ++column;
                continue;
            }
            const int32_t first = column;
            while (column < columns_ && cell[column]) ++column;
            const int32_t left = first * kCellSide, width = std::min(column * kCellSide, width_) - left;
            // The same run ending in the row above grows down instead.
            uint32_t& open = openAt_[static_cast<size_t>(first)];
            if (open < rects_.size()) {
                Rect& above = rects_[open];
                if (above.left == left && above.width == width && above.top + above.height == top) {
                    above.height += height;
                    continue;
                }
            }
            open = static_cast<uint32_t>(rects_.size());
            rects_.push_back(Rect{left, top, width, height});
        }
    }
    return rects_;
}
