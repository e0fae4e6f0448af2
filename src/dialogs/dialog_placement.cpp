#include "dialogs/dialog_placement.h"

#include <algorithm>

PixelRect centredPlacement(int32_t width, int32_t height, const std::optional<PixelRect>& owner,
                           const PixelRect& workArea) {
    const PixelRect& over = owner ? *owner : workArea;
    int32_t x = over.left + (over.right - over.left - width) / 2;
    int32_t y = over.top + (over.bottom - over.top - height) / 2;
    x = std::max(std::min(x, workArea.right - width), workArea.left);
    y = std::max(std::min(y, workArea.bottom - height), workArea.top);
    return {x, y, x + width, y + height};
}

PixelRect popupPlacement(int32_t width, int32_t height, int32_t x, int32_t y, const PixelRect& workArea) {
    const int32_t below = y + kPopupGap;
    const int32_t top = below + height <= workArea.bottom ? below : y - kPopupGap - height;
    const PixelRect around{x - width / 2, top, x - width / 2 + width, top + height};
    return centredPlacement(width, height, around, workArea);
}
