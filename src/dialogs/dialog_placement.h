#pragma once
// Where a dialog, or a control's pop-up text, goes when it opens, the same
// on every platform.
#include <cstdint>
#include <optional>

#include "dialogs/dialog_view.h"

// The screen rectangle for a dialog of `width` x `height` pixels: centred
// over its owner's rectangle, or over the work area when there is no owner
// to see (absent, hidden or minimised); then kept in the work area. It is
// pushed back from the right and bottom edges first, so a dialog larger
// than the work area keeps its title bar and top-left corner in view.
PixelRect centredPlacement(int32_t width, int32_t height, const std::optional<PixelRect>& owner,
                           const PixelRect& workArea);

// How far below the point a pop-up text starts, clear of the pointer.
inline constexpr int32_t kPopupGap = 12;

// The screen rectangle for a pop-up text of `width` x `height` pixels shown
// for the point (x, y) where the control was clicked: centred under the
// point, kPopupGap below it, or as far above it when there is no room
// below; then kept in the work area as a dialog is.
PixelRect popupPlacement(int32_t width, int32_t height, int32_t x, int32_t y, const PixelRect& workArea);
