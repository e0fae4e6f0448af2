#include "platform/win32/win32_folder_system.h"

#include <windows.h>

#include <utility>

#include "platform/win32/regular_file.h"

namespace {

constexpr DWORD kPathBuffer = 1000;
constexpr char kProgramFilesReference[] = "%ProgramFiles%";

}  // namespace

// ExpandEnvironmentStringsA reports success for a variable that is not
// defined and leaves the reference in place; that is no folder either, nor
// is an expansion that does not fit the buffer.
bool Win32FolderSystem::installedProgramsFolder(std::string& folder) {
    char buffer[kPathBuffer];
    const DWORD length = ExpandEnvironmentStringsA(kProgramFilesReference, buffer, kPathBuffer);
    if (length == 0 || length > kPathBuffer) return false;
    std::string expanded(buffer);
    if (expanded.empty() || expanded == kProgramFilesReference) return false;
    folder = std::move(expanded);
    return true;
}

void Win32FolderSystem::createFolder(const std::string& path) { CreateDirectoryA(path.c_str(), nullptr); }

FileReadResult Win32FolderSystem::readFile(const std::string& path, size_t limit, std::string& out) {
    return readRegularFile(path, limit, out);
}

std::vector<std::string> Win32FolderSystem::listFolder(const std::string& folder, std::string_view pattern) {
    std::vector<std::string> names;
    const std::string search = folder + layout_.separator + std::string(pattern);
    WIN32_FIND_DATAA entry;
    const HANDLE listing = FindFirstFileA(search.c_str(), &entry);
    if (listing == INVALID_HANDLE_VALUE) return names;
    do names.emplace_back(entry.cFileName);
    while (FindNextFileA(listing, &entry));
    FindClose(listing);
    return names;
}

std::unique_ptr<FolderSystem> makePlatformFolderSystem() { return std::make_unique<Win32FolderSystem>(); }
