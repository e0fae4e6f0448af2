#include <array>

#include "ui/dialog_ids.h"
#include "ui/dialog_template.h"

namespace {

using K = ControlKind;
using namespace dlg;
using namespace style;

constexpr int kNone = kUnnamedControl;
constexpr uint16_t kList = kNotify | kVerticalScroll | kTabStop;

constexpr std::array kSettingsControls = {
    ControlTemplate{kOk, K::PushButton, 172, 156, 51, 14, "OK", kDefault | kTabStop},
    ControlTemplate{kCancel, K::PushButton, 228, 156, 51, 14, "Cancel", kTabStop},
    ControlTemplate{kHelp, K::PushButton, 284, 156, 51, 14, "&Help", kTabStop},
    ControlTemplate{kAboutButton, K::PushButton, 116, 156, 51, 14, "&About ...", kTabStop},
    ControlTemplate{kPresetFrame, K::TabControl, 4, 5, 108, 166, ""},
    ControlTemplate{kPageTabs, K::TabControl, 116, 6, 219, 146, "", kTabStop},
    ControlTemplate{kPresetHeading, K::Label, 10, 11, 95, 8, " presets"},
    ControlTemplate{kPresetList, K::ListBox, 10, 20, 96, 113, "", kList},
    ControlTemplate{kUsePreset, K::PushButton, 10, 137, 96, 14, "&Use", kDisabled | kTabStop},
    ControlTemplate{kAddPreset, K::PushButton, 10, 151, 48, 14, "A&dd", kTabStop},
    ControlTemplate{kDeletePreset, K::PushButton, 58, 151, 48, 14, "De&lete", kDisabled | kTabStop},
};

constexpr std::array kStarfieldControls = {
    ControlTemplate{kStarsLabel, K::Label, 6, 2, 162, 9, "Amount of stars"},
    ControlTemplate{kStarsTrackbar, K::Trackbar, 0, 9, 176, 13, "", kTabStop},
    ControlTemplate{kStarsValue, K::Label, 176, 11, 28, 10, "100", kCentred},
    ControlTemplate{kCloudsLabel, K::Label, 6, 25, 162, 9, "Clouds density"},
    ControlTemplate{kCloudsTrackbar, K::Trackbar, 0, 33, 176, 13, "", kTabStop},
    ControlTemplate{kCloudsValue, K::Label, 176, 35, 28, 10, "100", kCentred},
    ControlTemplate{kNone, K::GroupBox, 4, 50, 200, 68, ""},
    ControlTemplate{kUsePictures, K::CheckBox, 9, 50, 191, 10, "Use customized random distribution for the stars",
                    kTabStop},
    ControlTemplate{kPicturesLabel, K::Label, 10, 60, 131, 8, "Distribution data files"},
    ControlTemplate{kPictureList, K::ListBox, 9, 69, 132, 44, "", kList | kBorder},
    ControlTemplate{kAddPicture, K::PushButton, 147, 69, 51, 14, "A&dd...", kTabStop},
    ControlTemplate{kRemovePicture, K::PushButton, 147, 83, 51, 14, "&Remove", kTabStop},
};

constexpr std::array kFlightControls = {
    ControlTemplate{kMoveLabel, K::Label, 6, 2, 162, 9, "Starfield movement speed"},
    ControlTemplate{kMoveTrackbar, K::Trackbar, 0, 9, 176, 13, "", kTabStop},
    ControlTemplate{kMoveValue, K::Label, 176, 11, 28, 10, "", kCentred},
    ControlTemplate{kRotationLabel, K::Label, 6, 25, 162, 9, "Starfield rotation speed"},
    ControlTemplate{kRotationTrackbar, K::Trackbar, 0, 33, 176, 13, "", kTabStop},
    ControlTemplate{kRotationValue, K::Label, 176, 35, 28, 10, "", kCentred},
    ControlTemplate{kRoamFreqLabel, K::Label, 6, 48, 162, 9, "Roaming frequency"},
    ControlTemplate{kRoamFreqTrackbar, K::Trackbar, 0, 56, 176, 13, "", kTabStop},
    ControlTemplate{kRoamFreqValue, K::Label, 176, 58, 28, 10, "", kCentred},
    ControlTemplate{kRoamMagnLabel, K::Label, 6, 71, 162, 9, "Roaming amplitude"},
    ControlTemplate{kRoamMagnTrackbar, K::Trackbar, 0, 79, 176, 13, "", kTabStop},
    ControlTemplate{kRoamMagnValue, K::Label, 176, 80, 28, 10, "", kCentred},
};

constexpr std::array kEffectsControls = {
    ControlTemplate{kSmoothnessLabel, K::Label, 6, 2, 162, 9, "Motion smoothness (fps)"},
    ControlTemplate{kSmoothnessTrackbar, K::Trackbar, 0, 9, 176, 13, "", kTabStop},
    ControlTemplate{kSmoothnessValue, K::Label, 176, 11, 28, 10, "", kCentred},
    ControlTemplate{kAntiAliasLabel, K::Label, 6, 24, 67, 9, "Anti-aliasing mode"},
    ControlTemplate{kAntiAliasBox, K::DropDownList, 5, 34, 199, 81, "", kTabStop},
    ControlTemplate{kSoundLabel, K::Label, 6, 50, 69, 9, "Background sound"},
    ControlTemplate{kSoundBox, K::DropDownList, 5, 59, 199, 60, "", kVerticalScroll | kTabStop},
};

constexpr std::array kLanguageControls = {
    ControlTemplate{kLanguageLabel, K::Label, 7, 3, 197, 9, "Interface language"},
    ControlTemplate{kLanguageBox, K::DropDownList, 6, 12, 198, 30, "", kTabStop},
    ControlTemplate{kHelpFileLabel, K::Label, 7, 28, 197, 9, "On-line and context help file"},
    ControlTemplate{kHelpFileBox, K::DropDownList, 6, 38, 198, 50, "", kVerticalScroll | kTabStop},
};

constexpr std::array kNewPresetControls = {
    ControlTemplate{kPresetName, K::Edit, 6, 6, 288, 12, "", kBorder | kTabStop | kAutoHorizontalScroll},
    ControlTemplate{kOk, K::PushButton, 130, 24, 51, 14, "OK", kDefault | kTabStop},
    ControlTemplate{kCancel, K::PushButton, 187, 24, 51, 14, "Cancel", kTabStop},
    ControlTemplate{kHelp, K::PushButton, 243, 24, 51, 14, "&Help", kTabStop},
};

// The notice and contact lines are the product's own; the notice says what
// LICENSE says. The product line's version is the build's (CMakeLists.txt).
constexpr std::array kAboutControls = {
    ControlTemplate{kOk, K::PushButton, 274, 63, 51, 14, "&Close", kDefault | kTabStop},
    ControlTemplate{kLicense, K::PushButton, 112, 63, 49, 14, "&License...", kTabStop},
    ControlTemplate{kProductLine, K::Label, 112, 6, 212, 8, "Lumara Screensaver v.2.0", kCentred},
    ControlTemplate{kNoticeLine, K::Label, 112, 15, 212, 8, "\u00A9 2026 The Lumara developers. MIT License.", kCentred},
    ControlTemplate{kNone, K::Picture, 6, 6, 100, 70, "", 0, kAboutPicture},
    ControlTemplate{kNone, K::EtchedLine, 113, 25, 212, 1, ""},
    ControlTemplate{kNone, K::Label, 114, 29, 96, 8, "Made by:"},
    ControlTemplate{kNone, K::Label, 216, 29, 102, 8, "Orvanta"},
    ControlTemplate{kNone, K::Label, 114, 37, 96, 8, "Web site:"},
    ControlTemplate{kNone, K::Label, 216, 37, 102, 8, "lumara.orvanta.example"},
    ControlTemplate{kNone, K::Label, 114, 45, 96, 8, "Mail:"},
    ControlTemplate{kNone, K::Label, 216, 45, 102, 8, "lumara@orvanta.example"},
    ControlTemplate{kNone, K::EtchedLine, 112, 57, 212, 1, ""},
};

constexpr std::array kTemplates = {
    DialogTemplate{kNewPreset, DialogKind::ModalNoClose, "Enter name of the new preset", 299, 42, kNewPresetControls},
    DialogTemplate{kAbout, DialogKind::Modal, "About Lumara Screensaver", 330, 82, kAboutControls},
    DialogTemplate{kSettings, DialogKind::Modal, "Lumara Screensaver settings", 340, 175, kSettingsControls},
    DialogTemplate{kStarfieldPage, DialogKind::Page, "", 208, 122, kStarfieldControls},
    DialogTemplate{kConfigure, DialogKind::Hidden, "", 0, 0, {}},
    DialogTemplate{kFlightPage, DialogKind::Page, "", 208, 122, kFlightControls},
    DialogTemplate{kEffectsPage, DialogKind::Page, "", 208, 122, kEffectsControls},
    DialogTemplate{kLanguagePage, DialogKind::Page, "", 208, 122, kLanguageControls},
};

}  // namespace

std::span<const DialogTemplate> dialogTemplates() { return kTemplates; }

const DialogTemplate* findDialogTemplate(uint32_t id) {
    for (const DialogTemplate& t : kTemplates)
        if (t.id == id) return &t;
    return nullptr;
}
