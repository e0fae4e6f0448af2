#pragma once
// Where a dialog goes when it opens, the same on every platform.
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
