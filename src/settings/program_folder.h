#pragma once
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "i18n/file_reader.h"
#include "settings/settings.h"
#include "settings/store.h"

// Where the program folder goes when none is recorded: below the system's
// folder for installed programs, one folder level per entry of `levels`,
// and under `fallbackRoot` when that folder cannot be found.
struct ProgramFolderLayout {
    char separator;
    std::vector<std::string> levels;
    std::string fallbackRoot;
};

// Windows: "%ProgramFiles%\Orvanta\Lumara Screensaver", or below
// "C:\Program files" when the variable cannot be expanded.
ProgramFolderLayout windowsProgramFolderLayout();

// What the settings need of the file system: the program folder, its
// listing, and reading the files the settings name.
class FolderSystem : public FileReader {
public:
    virtual ~FolderSystem() = default;

    virtual const ProgramFolderLayout& layout() const = 0;

    // The system's folder for installed programs, into `folder`; false,
    // leaving `folder` as it was, when it cannot be found.
    virtual bool installedProgramsFolder(std::string& folder) = 0;

    // Creates one folder level; an existing folder is fine, failure is ignored.
    virtual void createFolder(const std::string& path) = 0;

    // Names of the entries of `folder` matching `pattern` (a simple wildcard
    // such as "*.lang"), in listing order.
    virtual std::vector<std::string> listFolder(const std::string& folder, std::string_view pattern) = 0;
};

// The platform's folder system for the running program, defined by the
// platform library.
std::unique_ptr<FolderSystem> makePlatformFolderSystem();

// Settles ProgramDir: the machine key's "ProgramDir" when present as a
// string, else the derived default folder, created level by level.
void LocateProgramDir(Settings& settings, StoreKey& machineKey, FolderSystem& folders);

// Rebuilds LanguageFiles ("*.lang") and HelpFiles ("*.chm") as full paths.
void ScanProgramDir(Settings& settings, FolderSystem& folders);
