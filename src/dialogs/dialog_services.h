#pragma once
#include <string>
#include <string_view>

#include "dialogs/help.h"
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
std::string loadText(const Settings& settings, uint32_t id, size_t bufferSize);

// The part of a path after its last folder separator ('\' or '/').
std::string_view fileNamePart(std::string_view path);
