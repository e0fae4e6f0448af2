#pragma once
#include <string>

#include "settings/program_folder.h"

// The FolderSystem seam (settings/program_folder.h) on Linux, where the
// Windows build has Win32FolderSystem; pairs with FileStore in LoadSettings.
// Implements: the layout "<programs folder>/lumara" with "/" between names,
// the programs folder from the executable's place, folder creation (mkdir,
// one level a call), listings matched by wildcard.
// Leaves out: environment variables and any recorded installation: where
// the executable sits decides.
//
// The program folder on Linux is the installation's data folder,
// "<prefix>/share/lumara", found from the executable's location: the
// nearest of the executable's folder and the three folders above it that
// holds "share/lumara" is the prefix. That finds "/usr/share/lumara" for
// "/usr/bin/lumara", and in a build tree, whose programs sit one to three
// folders below the build folder (tests/, tools/lumara-render/, ...), the
// build tree's own "share/lumara". When none has it, the prefix is the
// executable folder's parent, as for an installed "bin"; without a known
// executable, "/usr/share" is used.
class LinuxFolderSystem final : public FolderSystem {
public:
    explicit LinuxFolderSystem(std::string executablePath);

    // For the running program (/proc/self/exe).
    static LinuxFolderSystem forThisProcess();

    const ProgramFolderLayout& layout() const override { return layout_; }
    bool installedProgramsFolder(std::string& folder) override;
    void createFolder(const std::string& path) override;
    // Names matching the wildcard without regard to ASCII case (files carried
    // over from Windows often have upper-case extensions), sorted by name.
    std::vector<std::string> listFolder(const std::string& folder, std::string_view pattern) override;
    // Regular files only, opened without waiting (regular_file.h).
    FileReadResult readFile(const std::string& path, size_t limit, std::string& out) override;

private:
    std::string executablePath_;
    ProgramFolderLayout layout_;
};

// "*" any run of characters, "?" any one; ASCII case ignored.
bool matchesWildcard(std::string_view name, std::string_view pattern);
