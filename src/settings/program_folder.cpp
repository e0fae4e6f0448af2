#include "settings/program_folder.h"

#include "settings/store_values.h"
#include "settings/stored_texts.h"

namespace {

void listInto(std::vector<std::string>& list, const std::string& folder, std::string_view pattern,
              FolderSystem& folders) {
    list.clear();
    for (const std::string& name : folders.listFolder(folder, pattern))
        list.push_back(folder + folders.layout().separator + name);
}

}  // namespace

ProgramFolderLayout windowsProgramFolderLayout() {
    return {'\\', {"Orvanta", "Lumara Screensaver"}, "C:\\Program files"};
}

void LocateProgramDir(Settings& s, StoreKey& machineKey, FolderSystem& folders) {
    if (readString(machineKey, "ProgramDir", readBufferOf(StoredText::ProgramDir), s.ProgramDir)) return;

    const ProgramFolderLayout& layout = folders.layout();
    std::string path;
    if (!folders.installedProgramsFolder(path)) path = layout.fallbackRoot;
    for (const std::string& level : layout.levels) {
        path += layout.separator;
        path += level;
        folders.createFolder(path);
    }
    s.ProgramDir = std::move(path);
}

void ScanProgramDir(Settings& s, FolderSystem& folders) {
    listInto(s.LanguageFiles, s.ProgramDir, "*.lang", folders);
    listInto(s.HelpFiles, s.ProgramDir, "*.chm", folders);
}
