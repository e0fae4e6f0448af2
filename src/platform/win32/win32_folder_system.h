#pragma once
// The program folder on Windows: below "%ProgramFiles%" (or the fixed
// "C:\Program files" when the variable cannot be expanded), folders made
// with CreateDirectoryA, listings through FindFirstFileA/FindNextFileA.
#include "settings/program_folder.h"

class Win32FolderSystem final : public FolderSystem {
public:
    Win32FolderSystem() : layout_(windowsProgramFolderLayout()) {}

    const ProgramFolderLayout& layout() const override { return layout_; }
    std::optional<std::string> installedProgramsFolder() override;
    void createFolder(const std::string& path) override;
    std::vector<std::string> listFolder(const std::string& folder, std::string_view pattern) override;

private:
    ProgramFolderLayout layout_;
};
