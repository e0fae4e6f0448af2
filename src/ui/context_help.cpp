#include "ui/context_help.h"

#include <array>

#include "ui/dialog_ids.h"

namespace {

using namespace dlg;

constexpr std::array kSettingsTopics = {
    ContextTopicRow{kOk, 1},
    ContextTopicRow{kCancel, 2},
    ContextTopicRow{kHelp, 3},
    ContextTopicRow{kAboutButton, 27},
    ContextTopicRow{kUsePreset, 6},
    ContextTopicRow{kAddPreset, 7},
    ContextTopicRow{kDeletePreset, 8},
    ContextTopicRow{kPresetList, 5},
    ContextTopicRow{kStarsTrackbar, 9},
    ContextTopicRow{kCloudsTrackbar, 32},
    ContextTopicRow{kUsePictures, 33},
    ContextTopicRow{kPictureList, 34},
    ContextTopicRow{kAddPicture, 35},
    ContextTopicRow{kRemovePicture, 36},
    ContextTopicRow{kMoveTrackbar, 10},
    ContextTopicRow{kRotationTrackbar, 11},
    ContextTopicRow{kRoamFreqTrackbar, 28},
    ContextTopicRow{kRoamMagnTrackbar, 29},
    ContextTopicRow{kSmoothnessTrackbar, 12},
    ContextTopicRow{kAntiAliasBox, 30},
    ContextTopicRow{kSoundBox, 31},
    ContextTopicRow{kLanguageBox, 37},
    ContextTopicRow{kHelpFileBox, 38},
    ContextTopicRow{kPageTabs, 40},
};

constexpr std::array kNewPresetTopics = {
    ContextTopicRow{kPresetName, 13},
    ContextTopicRow{kOk, 14},
    ContextTopicRow{kCancel, 15},
    ContextTopicRow{kHelp, 16},
};

}  // namespace

std::span<const ContextTopicRow> settingsContextTopics() { return kSettingsTopics; }
std::span<const ContextTopicRow> newPresetContextTopics() { return kNewPresetTopics; }

uint32_t contextTopic(std::span<const ContextTopicRow> table, int32_t control) {
    for (const ContextTopicRow& row : table)
        if (row.control == control) return row.topic;
    return kDefaultContextTopic;
}
