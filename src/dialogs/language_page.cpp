#include "dialogs/settings_pages.h"
#include "i18n/language_file.h"

namespace {

// Built-in English: a fixed text no language file replaces.
constexpr std::string_view kBuiltInLanguage = "English (default)";

// Row 0 is "none of the files"; row r is file r - 1. Selects the row of
// the file equal to `chosen`.
int rowOf(const std::vector<std::string>& files, const std::string& chosen) {
    for (size_t i = 0; i < files.size(); ++i)
        if (files[i] == chosen) return static_cast<int>(i) + 1;
    return 0;
}

// The choice a row stands for: "" for row 0, else its file; false for a
// row that stands for nothing.
bool choiceOf(const std::vector<std::string>& files, int row, std::string& choice) {
    if (row < 0 || static_cast<size_t>(row) > files.size()) return false;
    choice = row == 0 ? std::string() : files[static_cast<size_t>(row) - 1];
    return true;
}

}  // namespace

LanguagePage::LanguagePage(DialogServices& services)
    : SettingsPage(services, dlg::kLanguagePage, "::/settings.htm#tab4") {}

const MessageRow<LanguagePage> LanguagePage::kMessages[] = {
    {msg::kCommand, dlg::kLanguageBox, msg::kComboSelectionChange, &LanguagePage::onLanguage},
    {msg::kCommand, dlg::kHelpFileBox, msg::kComboSelectionChange, &LanguagePage::onHelpFile},
};

intptr_t LanguagePage::pageMessage(const Message& m) { return dispatchMessage<LanguagePage>(*this, kMessages, m); }

// Each language shows as its file's first line; a file that cannot be read
// gives an empty row and stays selectable.
void LanguagePage::initialise() {
    const Settings& s = settings();
    view().comboAdd(dlg::kLanguageBox, kBuiltInLanguage);
    for (const std::string& path : s.LanguageFiles)
        view().comboAdd(dlg::kLanguageBox, ReadLanguageName(path, services().folders));
    view().comboSelect(dlg::kLanguageBox, rowOf(s.LanguageFiles, s.Language));

    view().comboAdd(dlg::kHelpFileBox, dialogText(s, dlg::kNoHelpFile, 2000));
    for (const std::string& path : s.HelpFiles) view().comboAdd(dlg::kHelpFileBox, fileNamePart(path));
    view().comboSelect(dlg::kHelpFileBox, rowOf(s.HelpFiles, s.HelpFile));
}

// Takes effect the next time the settings are loaded; the open dialog keeps
// its texts.
intptr_t LanguagePage::onLanguage(const Message&) {
    choose(dlg::kLanguageBox, settings().LanguageFiles, StoredText::Language, settings().Language);
    return 1;
}

// Help asked for afterwards already uses the new file.
intptr_t LanguagePage::onHelpFile(const Message&) {
    choose(dlg::kHelpFileBox, settings().HelpFiles, StoredText::HelpFile, settings().HelpFile);
    return 1;
}

// A file whose path could not be stored whole is refused, and the box shows
// the choice that stays.
void LanguagePage::choose(int box, const std::vector<std::string>& files, StoredText text, std::string& chosen) {
    std::string choice;
    if (!choiceOf(files, view().comboSelection(box), choice)) return;
    if (!fitsStore(text, choice)) {
        showRefusal(view(), settings(), dlg::kPathTooLong);
        view().comboSelect(box, rowOf(files, chosen));
        return;
    }
    chosen = std::move(choice);
}
