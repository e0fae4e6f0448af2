#pragma once
// A configuration run over fakes: an in-memory store holding a stored
// record, a program folder, the help viewer, and the settings dialog opened
// on the fake desktop.
#include <filesystem>

#include "dialogs/settings_dialog.h"
#include "fake_dialogs.h"
#include "settings/preset_store.h"
#include "settings/settings_store.h"
#include "settings/store_fakes.h"
#include "ui/dialog_ids.h"

struct DialogRig {
    MemoryStore store;
    FakeFolders folders;
    Settings settings;
    FakeHelpViewer viewer;
    Help help{viewer, settings};
    DialogServices services{settings, store, folders, help};
    FakeDesktop desktop;
    SettingsDialog dialog{services};
    std::string programDir = std::string(LUMARA_TEST_TMP) + "/dialogs";

    DialogRig() {
        folders.folderLayout.separator = '/';
        std::filesystem::create_directories(programDir);
    }

    // Stores `stored` (with the factory presets when it has none) as the
    // saved settings, the program folder recorded machine-wide.
    void keep(Settings stored) {
        stored.ProgramDir = programDir;
        if (stored.Presets.empty()) AddFactoryPresets(stored);
        EXPECT_TRUE(SaveSettings(stored, store).ok());
        store.log.clear();
    }

    // A file in the program folder, listed like the folder's own.
    std::string addFile(const std::string& name, const std::string& contents) {
        const std::string path = programDir + "/" + name;
        folders.files[path] = contents;
        folders.folders[programDir].push_back(name);
        return path;
    }

    FakeDialog& open() { return desktop.open(dlg::kSettings, dialog); }
    FakeDialog& page(uint32_t templateId) { return desktop.find(templateId); }
};
