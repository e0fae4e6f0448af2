#pragma once
#include <array>

#include "dialogs/dialog_services.h"
#include "dialogs/helped_dialog.h"
#include "dialogs/settings_pages.h"

// The settings dialog: the preset list and the four pages under one tab
// strip. It loads the stored settings afresh when it opens, the pages write
// every change straight into the settings record, and only OK stores them;
// Cancel leaves the store as it was.
class SettingsDialog final : public HelpedDialog {
public:
    explicit SettingsDialog(DialogServices& services);

    // The page of tab `index` (0 starfield, 1 flight, 2 effects, 3 language).
    SettingsPage& page(size_t index) { return *pages_[index]; }

private:
    static const MessageRow<SettingsDialog> kMessages[];

    intptr_t onInitDialog(const Message&) override;
    intptr_t ownMessage(const Message& message) override;
    intptr_t onDestroy(const Message&);
    intptr_t onMove(const Message&);
    intptr_t onTabChanging(const Message&);
    intptr_t onTabChanged(const Message&);
    intptr_t onOk(const Message&);
    intptr_t onCancel(const Message&);
    intptr_t onAddPreset(const Message&);
    intptr_t onDeletePreset(const Message&);
    intptr_t onPresetSelected(const Message&);
    intptr_t onUsePreset(const Message&);
    intptr_t onAbout(const Message&);

    // Moves the pages over the tab control's display area. They are owned,
    // not children, so they do not follow the dialog by themselves.
    void placePages();

    DialogServices& services_;
    StarfieldPage starfield_;
    FlightPage flight_;
    EffectsPage effects_;
    LanguagePage language_;
    std::array<SettingsPage*, 4> pages_;
    std::array<WindowHandle, 4> pageWindows_{};
};
