#include "dialogs/settings_dialog.h"

#include "dialogs/about_dialog.h"
#include "dialogs/new_preset_dialog.h"
#include "dialogs/translate_dialog.h"
#include "settings/preset_store.h"
#include "settings/settings_store.h"
#include "ui/context_help.h"

namespace {

constexpr int32_t kAny = MessageRow<SettingsDialog>::kAny;

// Presets 0 to 2 are the factory ones: they can be used, not deleted.
constexpr int kFactoryPresets = 3;

}  // namespace

const MessageRow<SettingsDialog> SettingsDialog::kMessages[] = {
    {msg::kDestroy, kAny, kAny, &SettingsDialog::onDestroy},
    {msg::kMove, kAny, kAny, &SettingsDialog::onMove},
    {msg::kNotify, dlg::kPageTabs, msg::kTabSelectionChanging, &SettingsDialog::onTabChanging},
    {msg::kNotify, dlg::kPageTabs, msg::kTabSelectionChange, &SettingsDialog::onTabChanged},
    {msg::kCommand, dlg::kOk, kAny, &SettingsDialog::onOk},
    {msg::kCommand, dlg::kCancel, kAny, &SettingsDialog::onCancel},
    {msg::kCommand, dlg::kAddPreset, kAny, &SettingsDialog::onAddPreset},
    {msg::kCommand, dlg::kDeletePreset, kAny, &SettingsDialog::onDeletePreset},
    {msg::kCommand, dlg::kPresetList, msg::kListSelectionChange, &SettingsDialog::onPresetSelected},
    {msg::kCommand, dlg::kUsePreset, kAny, &SettingsDialog::onUsePreset},
    {msg::kCommand, dlg::kAboutButton, kAny, &SettingsDialog::onAbout},
};

SettingsDialog::SettingsDialog(DialogServices& services)
    : HelpedDialog(services.help, {"::/settings.htm", settingsContextTopics()}),
      services_(services), starfield_(services), flight_(services), effects_(services), language_(services),
      pages_{&starfield_, &flight_, &effects_, &language_} {}

intptr_t SettingsDialog::ownMessage(const Message& m) { return dispatchMessage<SettingsDialog>(*this, kMessages, m); }

intptr_t SettingsDialog::onInitDialog(const Message&) {
    Settings& s = services_.settings;
    view().centre();
    services_.help.HelpInitialize();
    // Whatever an earlier run left in memory, the dialog shows what is stored.
    s = Settings();
    LoadSettings(s, services_.store, services_.folders);
    TranslateDialog(view(), dlg::kSettings, s.LanguageTable);
    for (int i = 0; i < 4; ++i)
        view().tabInsert(dlg::kPageTabs, i, dialogText(s, dlg::kFirstPageTab + static_cast<uint32_t>(i), 100));
    for (size_t i = 0; i < pages_.size(); ++i)
        pageWindows_[i] = view().createPage(pages_[i]->templateId(), dlg::kPageTabs, *pages_[i]);
    placePages();
    view().showWindow(pageWindows_[0], true);
    for (const Preset& preset : s.Presets) view().listAdd(dlg::kPresetList, preset.Name);
    view().enable(dlg::kUsePreset, false);
    view().enable(dlg::kDeletePreset, false);
    return 1;
}

intptr_t SettingsDialog::onDestroy(const Message&) {
    services_.help.HelpUninitialize();
    return 1;
}

intptr_t SettingsDialog::onMove(const Message&) {
    placePages();
    return 1;
}

void SettingsDialog::placePages() {
    const PixelRect tabs = view().controlScreenRect(dlg::kPageTabs);
    const PixelRect header = view().tabItemRect(dlg::kPageTabs, 0);
    const PixelRect area{tabs.left + 6, tabs.top + header.bottom + 8, tabs.right - 8, tabs.bottom - 8};
    for (const WindowHandle page : pageWindows_)
        if (page) view().placeWindow(page, area);
}

intptr_t SettingsDialog::onTabChanging(const Message&) {
    const int tab = view().tabSelection(dlg::kPageTabs);
    if (tab >= 0 && tab < 4) view().showWindow(pageWindows_[static_cast<size_t>(tab)], false);
    return 0;  // the change is allowed
}

intptr_t SettingsDialog::onTabChanged(const Message&) {
    placePages();
    const int tab = view().tabSelection(dlg::kPageTabs);
    if (tab >= 0 && tab < 4) view().showWindow(pageWindows_[static_cast<size_t>(tab)], true);
    return 1;
}

// A save that did not reach the store keeps the dialog open, so the user
// can try again or cancel knowing that nothing was stored.
intptr_t SettingsDialog::onOk(const Message&) {
    const Outcome saved = SaveSettings(services_.settings, services_.store);
    if (!saved.ok()) {
        const Settings& s = services_.settings;
        showMessage(view(), s, dialogText(s, dlg::kNotSaved, kMessageBuffer) + "\n\n" + saved.message());
        return 1;
    }
    view().endDialog(msg::kIdOk);
    return 1;
}

intptr_t SettingsDialog::onCancel(const Message&) {
    view().endDialog(msg::kIdCancel);
    return 1;
}

// Names need not be unique: presets are known by their row. Settings a
// preset could not store are refused before a name is asked for.
intptr_t SettingsDialog::onAddPreset(const Message&) {
    Preset preset;
    if (!CapturePreset(services_.settings, preset)) {
        showRefusal(view(), services_.settings, dlg::kPresetTooLong);
        return 1;
    }
    NewPresetDialog ask(services_);
    if (view().runModal(dlg::kNewPreset, ask) != msg::kIdOk) return 1;
    preset.Name = ask.name();
    services_.settings.Presets.push_back(std::move(preset));
    view().listAdd(dlg::kPresetList, ask.name());
    view().listSelect(dlg::kPresetList, static_cast<int>(services_.settings.Presets.size()) - 1);
    view().enable(dlg::kUsePreset, true);
    view().enable(dlg::kDeletePreset, true);
    return 1;
}

intptr_t SettingsDialog::onDeletePreset(const Message&) {
    std::vector<Preset>& presets = services_.settings.Presets;
    const int row = view().listSelection(dlg::kPresetList);
    if (row < kFactoryPresets || static_cast<size_t>(row) >= presets.size()) return 1;
    presets.erase(presets.begin() + row);
    view().listSelect(dlg::kPresetList, row - 1);
    view().listDelete(dlg::kPresetList, row);
    view().enable(dlg::kDeletePreset, row - 1 >= kFactoryPresets);
    return 1;
}

intptr_t SettingsDialog::onPresetSelected(const Message&) {
    const int row = view().listSelection(dlg::kPresetList);
    view().enable(dlg::kUsePreset, true);
    view().enable(dlg::kDeletePreset, row >= kFactoryPresets);
    return 1;
}

// The language page keeps its choices: presets carry no language or help file.
intptr_t SettingsDialog::onUsePreset(const Message&) {
    const int row = view().listSelection(dlg::kPresetList);
    if (row < 0 || static_cast<size_t>(row) >= services_.settings.Presets.size()) return 1;
    ApplyPreset(services_.settings.Presets[static_cast<size_t>(row)], services_.settings);
    starfield_.refresh();
    flight_.refresh();
    effects_.refresh();
    return 1;
}

intptr_t SettingsDialog::onAbout(const Message&) {
    AboutDialog about(services_);
    view().runModal(dlg::kAbout, about);
    return 1;
}
