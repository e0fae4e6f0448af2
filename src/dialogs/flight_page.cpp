#include "dialogs/settings_pages.h"

FlightPage::FlightPage(DialogServices& services) : SettingsPage(services, dlg::kFlightPage, "::/settings.htm#tab2") {}

void FlightPage::refresh() {
    for (const int trackbar : {dlg::kMoveTrackbar, dlg::kRotationTrackbar, dlg::kRoamFreqTrackbar, dlg::kRoamMagnTrackbar})
        showTrackbar(trackbar);
}
