#include "dialogs/settings_pages.h"
#include "settings/settings_store.h"

namespace {

// Rows of the sound box before the recent sounds.
constexpr int kNoSoundRow = 0;
constexpr int kBuiltInSoundRow = 1;
constexpr int kFirstRecentRow = 2;

// "D" names the built-in music.
constexpr std::string_view kBuiltInSound = "D";

}  // namespace

EffectsPage::EffectsPage(DialogServices& services)
    : SettingsPage(services, dlg::kEffectsPage, "::/settings.htm#tab3") {}

const MessageRow<EffectsPage> EffectsPage::kMessages[] = {
    {msg::kCommand, dlg::kAntiAliasBox, msg::kComboSelectionChange, &EffectsPage::onAntiAliasing},
    {msg::kCommand, dlg::kSoundBox, msg::kComboSelectionChange, &EffectsPage::onSound},
};

intptr_t EffectsPage::pageMessage(const Message& m) { return dispatchMessage<EffectsPage>(*this, kMessages, m); }

// The row index is the AntiAliase value: off, then sharp to blurred.
void EffectsPage::initialise() {
    view().comboAdd(dlg::kAntiAliasBox, dialogText(settings(), dlg::kAntiAliasOff, 50));
    for (uint32_t mode = 0; mode < 5; ++mode)
        view().comboAdd(dlg::kAntiAliasBox, dialogText(settings(), dlg::kAntiAliasSharp + mode, 50));
    refresh();
}

void EffectsPage::refresh() {
    showTrackbar(dlg::kSmoothnessTrackbar);
    view().comboSelect(dlg::kAntiAliasBox, settings().AntiAliase);
    rebuildSoundBox();
}

// No sound, the built-in music, the recent sounds by file name, "Browse...";
// the row of the current choice selected (no sound when it is none of them).
void EffectsPage::rebuildSoundBox() {
    const Settings& s = settings();
    view().comboReset(dlg::kSoundBox);
    view().comboAdd(dlg::kSoundBox, dialogText(s, dlg::kSoundNone, 50));
    view().comboAdd(dlg::kSoundBox, dialogText(s, dlg::kSoundBuiltIn, 50));
    int selected = kNoSoundRow;
    for (size_t i = 0; i < s.RecentSounds.size(); ++i) {
        view().comboAdd(dlg::kSoundBox, fileNamePart(s.RecentSounds[i]));
        if (s.RecentSounds[i] == s.BackSound) selected = kFirstRecentRow + static_cast<int>(i);
    }
    view().comboAdd(dlg::kSoundBox, dialogText(s, dlg::kSoundBrowse, 50));
    if (s.BackSound == kBuiltInSound) selected = kBuiltInSoundRow;
    view().comboSelect(dlg::kSoundBox, selected);
}

intptr_t EffectsPage::onAntiAliasing(const Message&) {
    const int row = view().comboSelection(dlg::kAntiAliasBox);
    if (row >= 0) settings().AntiAliase = row;
    return 1;
}

intptr_t EffectsPage::onSound(const Message&) {
    Settings& s = settings();
    const int row = view().comboSelection(dlg::kSoundBox);
    const int browseRow = kFirstRecentRow + static_cast<int>(s.RecentSounds.size());
    if (row < 0 || row > browseRow) return 1;
    if (row == kNoSoundRow) {
        s.BackSound.clear();
    } else if (row == kBuiltInSoundRow) {
        s.BackSound = kBuiltInSound;
    } else if (row < browseRow) {
        s.BackSound = s.RecentSounds[static_cast<size_t>(row - kFirstRecentRow)];
    } else {
        OpenFileRequest request;
        request.filters = {{"Waveform audio (*.wav)", "*.WAV"}, {"All (*.*)", "*.*"}};
        request.title = dialogText(s, dlg::kSoundFileTitle, 100);
        request.bufferSize = Settings::kBackSoundCapacity;
        std::string path;
        if (view().openFile(request, path) && path.size() < Settings::kBackSoundCapacity) {
            AddRecentSound(s.RecentSounds, path, s.RecentSoundsLimit);
            s.BackSound = path;
        }
        // Also after Cancel: the box shows the current choice again.
        rebuildSoundBox();
    }
    return 1;
}
