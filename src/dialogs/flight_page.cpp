#include "dialogs/settings_pages.h"

namespace {

constexpr int32_t kAny = MessageRow<FlightPage>::kAny;

}  // namespace

FlightPage::FlightPage(DialogServices& services) : SettingsPage(services, dlg::kFlightPage, "::/settings.htm#tab2") {}

const MessageRow<FlightPage> FlightPage::kMessages[] = {
    {msg::kInitDialog, kAny, kAny, &FlightPage::onInitDialog},
    {msg::kHScroll, kAny, kAny, &FlightPage::onScroll},
    {msg::kHelp, kAny, kAny, &FlightPage::onHelp},
    {msg::kContextMenu, kAny, kAny, &FlightPage::onContextMenu},
};

intptr_t FlightPage::dialogProc(const Message& m) { return dispatchMessage<FlightPage>(*this, kMessages, m); }

void FlightPage::refresh() {
    for (const int trackbar : {dlg::kMoveTrackbar, dlg::kRotationTrackbar, dlg::kRoamFreqTrackbar, dlg::kRoamMagnTrackbar})
        showTrackbar(trackbar);
}
