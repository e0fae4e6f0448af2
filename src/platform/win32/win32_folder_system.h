#pragma once
// The FolderSystem seam (settings/program_folder.h) on Windows, where the
// Linux build has LinuxFolderSystem; pairs with RegistryStore in LoadSettings.
// Implements: the programs folder from "%ProgramFiles%" (none when the
// variable cannot be expanded, so the core takes "C:\Program files"), folders
// made with CreateDirectoryA, listings through FindFirstFileA/FindNextFileA
// in the system's own order and case rules, files read only when they are
// disk files (regular_file.h).
// Leaves out: paths longer than 1000 characters for the programs folder,
// and Unicode paths (the ANSI functions throughout).
#include "settings/program_folder.h"

class Win32FolderSystem final : public FolderSystem {
public:
    Win32FolderSystem() : layout_(windowsProgramFolderLayout()) {}

    const ProgramFolderLayout& layout() const override { return layout_; }
    bool installedProgramsFolder(std::string& folder) override;
    void createFolder(const std::string& path) override;
    std::vector<std::string> listFolder(const std::string& folder, std::string_view pattern) override;
    FileReadResult readFile(const std::string& path, size_t limit, std::string& out) override;

private:
    ProgramFolderLayout layout_;
};
