#include "dialogs/settings_page.h"

#include <string>

#include "dialogs/translate_dialog.h"
#include "ui/context_help.h"

SettingsPage::SettingsPage(DialogServices& services, uint32_t templateId, std::string_view helpTopic)
    : HelpedDialog(services.help, {helpTopic, settingsContextTopics(), false}),
      services_(services),
      templateId_(templateId) {}

// Only the trackbars' moves: a page without trackbars answers them with 0,
// as it would without the row.
intptr_t SettingsPage::ownMessage(const Message& m) {
    if (m.id == msg::kHScroll) return onScroll(m);
    return pageMessage(m);
}

intptr_t SettingsPage::onInitDialog(const Message&) {
    view().centre();
    TranslateDialog(view(), templateId_, settings().LanguageTable);
    for (const TrackbarBinding& b : kTrackbars) {
        if (b.page != templateId_) continue;
        const SettingInfo* setting = findFlightSetting(b.storedName);
        view().trackbarSetup(b.trackbar, setting->low, setting->high, b.tickFrequency, b.pageSize, b.lineSize);
    }
    initialise();
    return 1;
}

const TrackbarBinding* SettingsPage::bindingOf(int trackbar) const {
    const TrackbarBinding* only = nullptr;
    int count = 0;
    for (const TrackbarBinding& b : kTrackbars) {
        if (b.page != templateId_) continue;
        if (b.trackbar == trackbar) return &b;
        only = &b;
        ++count;
    }
    // A page with one trackbar reads it whatever window the message names.
    return count == 1 ? only : nullptr;
}

intptr_t SettingsPage::onScroll(const Message& m) {
    const TrackbarBinding* b = bindingOf(view().controlId(static_cast<WindowHandle>(m.lParam)));
    if (!b) return 0;
    const int32_t position = view().trackbarPosition(b->trackbar);
    findFlightSetting(b->storedName)->set(settings(), position);
    view().setText(b->label, std::to_string(position));
    return 1;
}

void SettingsPage::showTrackbar(int trackbar) {
    const TrackbarBinding* b = bindingOf(trackbar);
    const int32_t value = findFlightSetting(b->storedName)->get(settings());
    view().trackbarSetPosition(trackbar, value);
    view().setText(b->label, std::to_string(value));
}
