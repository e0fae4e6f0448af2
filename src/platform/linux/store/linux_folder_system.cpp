#include "platform/linux/store/linux_folder_system.h"

#include <algorithm>
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/linux/store/atomic_file.h"
#include "platform/linux/store/regular_file.h"

namespace {

char lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// Build-tree programs sit at most this deep below the build folder.
constexpr int kLevelsAboveExecutable = 3;

bool isFolder(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

}  // namespace

bool matchesWildcard(std::string_view name, std::string_view pattern) {
    size_t n = 0, p = 0;
    size_t starP = std::string_view::npos, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == '?' || lower(pattern[p]) == lower(name[n]))) {
            ++n, ++p;
        } else if (p < pattern.size() && pattern[p] == '*') {
            starP = p++;
            starN = n;
        } else if (starP != std::string_view::npos) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') ++p;
    return p == pattern.size();
}

LinuxFolderSystem::LinuxFolderSystem(std::string executablePath)
    : executablePath_(std::move(executablePath)), layout_{'/', {"lumara"}, "/usr/share"} {}

LinuxFolderSystem LinuxFolderSystem::forThisProcess() {
    std::string path(4096, '\0');
    const ssize_t n = ::readlink("/proc/self/exe", path.data(), path.size());
    path.resize(n > 0 && static_cast<size_t>(n) < path.size() ? static_cast<size_t>(n) : 0);
    return LinuxFolderSystem(std::move(path));
}

bool LinuxFolderSystem::installedProgramsFolder(std::string& folder) {
    if (executablePath_.empty() || executablePath_[0] != '/') return false;
    const std::string executableFolder = folderOf(executablePath_);
    std::string above = executableFolder;
    for (int level = 0; level <= kLevelsAboveExecutable; ++level, above = folderOf(above)) {
        const std::string base = above == "/" ? "" : above;
        if (isFolder(base + "/share/lumara")) {
            folder = base + "/share";
            return true;
        }
        if (above == "/") break;
    }
    const std::string parent = folderOf(executableFolder);
    folder = (parent == "/" ? "" : parent) + "/share";
    return true;
}

void LinuxFolderSystem::createFolder(const std::string& path) { ::mkdir(path.c_str(), 0755); }

FileReadResult LinuxFolderSystem::readFile(const std::string& path, size_t limit, std::string& out) {
    return readRegularFile(path, limit, out);
}

std::vector<std::string> LinuxFolderSystem::listFolder(const std::string& folder, std::string_view pattern) {
    std::vector<std::string> names;
    DIR* dir = ::opendir(folder.empty() ? "/" : folder.c_str());
    if (!dir) return names;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string_view name = entry->d_name;
        if (name != "." && name != ".." && matchesWildcard(name, pattern)) names.emplace_back(name);
    }
    ::closedir(dir);
    std::sort(names.begin(), names.end());
    return names;
}

std::unique_ptr<FolderSystem> makePlatformFolderSystem() {
    return std::make_unique<LinuxFolderSystem>(LinuxFolderSystem::forThisProcess());
}
