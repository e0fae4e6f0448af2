#pragma once
#include <string>
#include <string_view>

#include "dialogs/help.h"
#include "i18n/language_file.h"
#include "settings/program_folder.h"
#include "settings/settings.h"
#include "settings/store.h"

// What the configuration dialogs work on: the one settings record (the
// pages write every change straight into it), the store it is loaded from
// and saved to, the program folder, and help.
struct DialogServices {
    Settings& settings;
    Store& store;
    FolderSystem& folders;
    Help& help;
};

// Text `id` of the language or the built-in table, as read into a buffer
// of `bufferSize` bytes with its NUL.
std::string dialogText(const Settings& settings, uint32_t id, size_t bufferSize);

// The buffer a message's text is read into: room for the longest line a
// language file can give it.
inline constexpr size_t kMessageBuffer = kLanguageLineLimit + 1;

class DialogView;
// Tells the user `text` in a message box, under the dialogs' caption in the
// settings' language.
void showMessage(DialogView& view, const Settings& settings, std::string_view text);
// Tells the user in a message box, with text `id`, why the dialog refused
// what was asked.
void showRefusal(DialogView& view, const Settings& settings, uint32_t id);

// The part of a path after its last folder separator ('\' or '/').
std::string_view fileNamePart(std::string_view path);
