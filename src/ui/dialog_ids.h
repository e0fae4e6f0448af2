#pragma once
#include <cstdint>

// Dialog template, control and string ids. They form one number space with
// the string table: a language file's text for a number applies wherever
// the number is used.
namespace dlg {
// Templates.
inline constexpr uint32_t kNewPreset = 202;
inline constexpr uint32_t kAbout = 211;
inline constexpr uint32_t kSettings = 223;
inline constexpr uint32_t kStarfieldPage = 224;
inline constexpr uint32_t kConfigure = 2003;  // the shell's empty, never shown dialog
inline constexpr uint32_t kFlightPage = 2004;
inline constexpr uint32_t kEffectsPage = 2005;
inline constexpr uint32_t kLanguagePage = 2006;

// Bitmap resource of the About box's picture.
inline constexpr uint16_t kAboutPicture = 219;

// Controls shared by several dialogs.
inline constexpr int kOk = 1;  // also the About box's "&Close"
inline constexpr int kCancel = 2;
inline constexpr int kHelp = 9;

// Settings dialog.
inline constexpr int kAboutButton = 57672;
inline constexpr int kPresetFrame = 1071;
inline constexpr int kPageTabs = 1088;
inline constexpr int kPresetHeading = 1072;
inline constexpr int kPresetList = 1083;
inline constexpr int kUsePreset = 4010;
inline constexpr int kAddPreset = 1011;
inline constexpr int kDeletePreset = 1012;

// Starfield page.
inline constexpr int kStarsLabel = 1052, kStarsTrackbar = 4000, kStarsValue = 4001;
inline constexpr int kCloudsLabel = 1087, kCloudsTrackbar = 4002, kCloudsValue = 1084;
inline constexpr int kUsePictures = 1074;
inline constexpr int kPicturesLabel = 1078;
inline constexpr int kPictureList = 1075;
inline constexpr int kAddPicture = 1076;
inline constexpr int kRemovePicture = 1077;

// Flight page.
inline constexpr int kMoveLabel = 1053, kMoveTrackbar = 4004, kMoveValue = 4005;
inline constexpr int kRotationLabel = 1054, kRotationTrackbar = 4006, kRotationValue = 4003;
inline constexpr int kRoamFreqLabel = 1056, kRoamFreqTrackbar = 1042, kRoamFreqValue = 1044;
inline constexpr int kRoamMagnLabel = 1057, kRoamMagnTrackbar = 1085, kRoamMagnValue = 1089;

// Effects page.
inline constexpr int kSmoothnessLabel = 1055, kSmoothnessTrackbar = 1033, kSmoothnessValue = 4008;
inline constexpr int kAntiAliasLabel = 1058, kAntiAliasBox = 1020;
inline constexpr int kSoundLabel = 1059, kSoundBox = 1021;

// Language page.
inline constexpr int kLanguageLabel = 1079, kLanguageBox = 1081;
inline constexpr int kHelpFileLabel = 1080, kHelpFileBox = 1082;

// New-preset dialog.
inline constexpr int kPresetName = 1037;

// About box.
inline constexpr int kLicense = 1046;
inline constexpr int kProductLine = 1061;
inline constexpr int kNoticeLine = 1062;

// String table.
inline constexpr uint32_t kSoundNone = 3025, kSoundBuiltIn = 3026, kSoundBrowse = 3027, kSoundFileTitle = 3028;
inline constexpr uint32_t kAntiAliasSharp = 3050;  // 3050..3054: sharp .. blurred
inline constexpr uint32_t kAntiAliasOff = 3055;
inline constexpr uint32_t kFirstPageTab = 3060;    // 3060..3063
inline constexpr uint32_t kNoHelpFile = 3064;
inline constexpr uint32_t kPictureFileTitle = 3065;
inline constexpr uint32_t kAllPictures = 3066;  // the Linux chooser's first filter
// Refusals of what would be stored longer than it can be read back.
inline constexpr uint32_t kPictureListFull = 3070, kPresetTooLong = 3071, kPathTooLong = 3072;
// The caption of the dialogs' message boxes, and why a save failed: "%1" in
// a text stands for the stored value's name.
inline constexpr uint32_t kMessageCaption = 3073, kNotSaved = 3074;
inline constexpr uint32_t kValueTooLong = 3075, kStoreNotOpened = 3076, kValueNotWritten = 3077,
                          kStoreNotWritten = 3078;
// A help topic the Linux viewer cannot show.
inline constexpr uint32_t kNoHelpBrowser = 3080, kHelpTopicUnreadable = 3081;
}  // namespace dlg
