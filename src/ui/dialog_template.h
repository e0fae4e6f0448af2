#pragma once
#include <cstdint>
#include <span>
#include <string_view>

// The dialogs as data: every control with its id, kind, place and size in
// dialog units, text and style. The one source from which the Windows
// resource script is made at build time and from which other views lay
// themselves out. Texts are UTF-8.

enum class ControlKind : uint8_t {
    PushButton,
    CheckBox,      // automatic: a click toggles it
    GroupBox,
    Label,         // static text
    Picture,       // a bitmap resource (`image`)
    EtchedLine,    // horizontal
    Edit,
    ListBox,
    DropDownList,  // a combo box whose rows cannot be typed over
    Trackbar,      // horizontal, ticks at the tick frequency
    TabControl,
};

// Style flags beyond what the kind implies.
namespace style {
inline constexpr uint16_t kDefault = 1 << 0;         // the default push button (Enter)
inline constexpr uint16_t kDisabled = 1 << 1;
inline constexpr uint16_t kTabStop = 1 << 2;
inline constexpr uint16_t kCentred = 1 << 3;         // static text
inline constexpr uint16_t kVerticalScroll = 1 << 4;  // list and combo boxes
inline constexpr uint16_t kBorder = 1 << 5;
inline constexpr uint16_t kNotify = 1 << 6;          // list boxes: selection notifications
inline constexpr uint16_t kAutoHorizontalScroll = 1 << 7;  // edit fields
}  // namespace style

// Unnamed controls (frames, lines, fixed texts) all carry this id.
inline constexpr int32_t kUnnamedControl = -1;

struct ControlTemplate {
    int32_t id;
    ControlKind kind;
    int16_t x, y, width, height;  // dialog units
    std::string_view text;
    uint16_t style = 0;
    uint16_t image = 0;  // Picture: the bitmap resource id
};

enum class DialogKind : uint8_t {
    Modal,          // pop-up with caption, system menu and modal frame
    ModalNoClose,   // the same without the system menu (no close box)
    Page,           // captionless pop-up that sits in another dialog, not visible at creation
    Hidden,         // never shown
};

struct DialogTemplate {
    uint32_t id;
    DialogKind kind;
    std::string_view caption;
    int16_t width, height;  // dialog units
    std::span<const ControlTemplate> controls;
};

inline constexpr std::string_view kDialogFontName = "MS Shell Dlg";
inline constexpr int kDialogFontPoints = 8;

std::span<const DialogTemplate> dialogTemplates();

// The template `id`, or null.
const DialogTemplate* findDialogTemplate(uint32_t id);
