#pragma once
// What the Windows test programs share: the saver's key and its settings
// as the registry holds them, and the build's files, found from the
// program's own place in the build folder's bin/.
#include <windows.h>

#include <string>

#include "platform/win32/registry_store.h"
#include "platform/win32/win32_folder_system.h"
#include "settings/settings_store.h"

inline constexpr char kSaverKey[] = "Software\\Tellix\\VEXA";

// A file of the Windows build by its path from the build folder, with
// backslashes ("bin\\lumara.scr").
inline std::string buildFile(const std::string& path) {
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string folder = self;
    folder.resize(folder.rfind('\\'));  // bin
    folder.resize(folder.rfind('\\'));
    return folder + "\\" + path;
}

// The settings as a load reads them from the registry.
inline Settings storedSettings() {
    RegistryStore store;
    Win32FolderSystem folders;
    Settings s;
    LoadSettings(s, store, folders);
    return s;
}
