#pragma once
// The program folder on Windows: below "%ProgramFiles%" (or the fixed
// "C:\Program files" when the variable cannot be expanded), folders made
// with CreateDirectoryA, listings through FindFirstFileA/FindNextFileA,
// files read only when they are disk files (regular_file.h).
#include "settings/program_folder.h"

class Win32FolderSystem final : public FolderSystem {
public:
    Win32FolderSystem() : layout_(windowsProgramFolderLayout()) {}

    const ProgramFolderLayout& layout() const override { return layout_; }
    std::optional<std::string> installedProgramsFolder() override;
    void createFolder(const std::string& path) override;
    std::vector<std::string> listFolder(const std::string& folder, std::string_view pattern) override;
    FileReadResult readFile(const std::string& path, size_t limit, std::string& out) override;

private:
    ProgramFolderLayout layout_;
};
