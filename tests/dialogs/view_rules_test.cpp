// What every platform's dialog view does alike: where a dialog opens, and
// what Enter, Esc and the close box give it.
#include <gtest/gtest.h>

#include <optional>
#include <tuple>

#include "dialogs/dialog_keys.h"
#include "dialogs/dialog_placement.h"

namespace {

auto corners(const PixelRect& r) { return std::tuple(r.left, r.top, r.right, r.bottom); }

}  // namespace

// A work area below a 30-pixel panel, 1280 x 690.
TEST(DialogPlacement, CentredOverTheOwnerOrTheWorkAreaAndKeptInside) {
    const PixelRect area{0, 30, 1280, 720};
    struct Case {
        const char* what;
        std::optional<PixelRect> owner;
        int32_t width, height;
        PixelRect placed;
    };
    for (const Case& c : {
             Case{"over the owner", PixelRect{600, 300, 1000, 500}, 300, 100, {650, 350, 950, 450}},
             Case{"no owner to see", std::nullopt, 680, 372, {300, 189, 980, 561}},
             Case{"past the right and bottom", PixelRect{1100, 600, 1280, 720}, 400, 300, {880, 420, 1280, 720}},
             Case{"past the left and top", PixelRect{-50, 0, 50, 40}, 300, 200, {0, 30, 300, 230}},
             Case{"larger than the area", PixelRect{200, 200, 400, 400}, 1400, 800, {0, 30, 1400, 830}},
         }) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(corners(centredPlacement(c.width, c.height, c.owner, area)), corners(c.placed));
    }
}

// A pop-up text under the point that was clicked, above it near the bottom,
// and always whole on the work area.
TEST(DialogPlacement, PopupsUnderThePointOrAboveItAndKeptInside) {
    const PixelRect area{0, 30, 1280, 720};
    struct Case {
        const char* what;
        int32_t x, y;
        PixelRect placed;
    };
    for (const Case& c : {
             Case{"under the point", 640, 300, {540, 312, 740, 392}},
             Case{"no room below: above", 640, 680, {540, 588, 740, 668}},
             Case{"at the right edge", 1270, 300, {1080, 312, 1280, 392}},
             Case{"at the top left, over the panel", 5, 0, {0, 30, 200, 110}},
         }) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(corners(popupPlacement(200, 80, c.x, c.y, area)), corners(c.placed));
    }
    const PixelRect tall = popupPlacement(200, 900, 640, 300, area);
    EXPECT_EQ(tall.top, 30) << "taller than the area: its top stays in view";
}

// A default button other than OK, so Enter is seen to click the default.
TEST(DialogKeys, EnterClicksTheDefaultButtonEscAndTheCloseBoxCancelUnlessTheFocusTakesTheKey) {
    constexpr int kDefault = 3;
    const KeyFocus field{}, button{.pushButton = true}, droppedList{.droppedList = true};
    struct Case {
        const char* what;
        DialogKey key;
        KeyFocus focus;
        std::optional<int> clicked;
    };
    for (const Case& c : {
             Case{"Enter in a field", DialogKey::Enter, field, kDefault},
             Case{"Enter on a push button clicks that button itself", DialogKey::Enter, button, std::nullopt},
             Case{"Enter in an open drop-down list picks its row", DialogKey::Enter, droppedList, std::nullopt},
             Case{"Esc in a field", DialogKey::Escape, field, msg::kIdCancel},
             Case{"Esc on a push button", DialogKey::Escape, button, msg::kIdCancel},
             Case{"Esc in an open drop-down list folds it", DialogKey::Escape, droppedList, std::nullopt},
             Case{"the close box", DialogKey::CloseBox, field, msg::kIdCancel},
             Case{"the close box, the list open", DialogKey::CloseBox, droppedList, msg::kIdCancel},
         }) {
        SCOPED_TRACE(c.what);
        int clicked = -1;  // left as it was when the key is the control's own
        const bool clicks = dialogKeyCommand(c.key, c.focus, kDefault, clicked);
        EXPECT_EQ(clicks, c.clicked.has_value());
        EXPECT_EQ(clicked, c.clicked.value_or(-1));
    }
}
