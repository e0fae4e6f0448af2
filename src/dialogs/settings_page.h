#pragma once
#include <array>
#include <cstdint>
#include <string_view>

#include "dialogs/dialog_services.h"
#include "dialogs/helped_dialog.h"
#include "settings/setting_table.h"
#include "ui/dialog_ids.h"

// A trackbar of the settings pages: the stored setting it moves (its range
// is the setting's offered range), its value label and how it steps.
struct TrackbarBinding {
    uint32_t page;
    std::string_view storedName;
    int trackbar;
    int label;
    int32_t tickFrequency;
    int32_t pageSize;
    int32_t lineSize;  // 0: the arrow keys do not move it
};

inline constexpr std::array<TrackbarBinding, 7> kTrackbars{{
    {dlg::kStarfieldPage, "StarsCount", dlg::kStarsTrackbar, dlg::kStarsValue, 2000, 2000, 200},
    {dlg::kStarfieldPage, "Clouds", dlg::kCloudsTrackbar, dlg::kCloudsValue, 1, 1, 0},
    {dlg::kFlightPage, "MoveSpeed", dlg::kMoveTrackbar, dlg::kMoveValue, 100, 100, 10},
    {dlg::kFlightPage, "RotSpeed", dlg::kRotationTrackbar, dlg::kRotationValue, 10, 10, 1},
    {dlg::kFlightPage, "RoamFreq", dlg::kRoamFreqTrackbar, dlg::kRoamFreqValue, 10, 10, 1},
    {dlg::kFlightPage, "RoamMagn", dlg::kRoamMagnTrackbar, dlg::kRoamMagnValue, 10, 10, 1},
    {dlg::kEffectsPage, "Smoothness", dlg::kSmoothnessTrackbar, dlg::kSmoothnessValue, 10, 10, 1},
}};

// What the four pages share, ahead of each page's own rows: translation and
// trackbar set-up on initialisation, trackbar moves written straight into
// the settings (every notification code, so the value follows the thumb
// while it is dragged), the page's help topic (F1, over no window) and
// context help (right-click on a control).
class SettingsPage : public HelpedDialog {
public:
    SettingsPage(DialogServices& services, uint32_t templateId, std::string_view helpTopic);

    uint32_t templateId() const { return templateId_; }
    // Sets every control from the settings.
    virtual void refresh() {}

protected:
    // Fills the page's lists and sets its controls, after translation and
    // the trackbars' set-up.
    virtual void initialise() = 0;
    // The page's own rows; 0 when none matches.
    virtual intptr_t pageMessage(const Message&) { return 0; }

    Settings& settings() { return services_.settings; }
    DialogServices& services() { return services_; }
    // Puts the setting's value on its trackbar and label.
    void showTrackbar(int trackbar);

private:
    intptr_t onInitDialog(const Message&) override;
    intptr_t ownMessage(const Message& message) final;
    intptr_t onScroll(const Message& message);
    const TrackbarBinding* bindingOf(int trackbar) const;

    DialogServices& services_;
    uint32_t templateId_;
};
