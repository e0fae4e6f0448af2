#include "platform/linux/help/topic_extraction.h"

#include <gio/gio.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <set>
#include <vector>

#include "platform/linux/store/atomic_file.h"
#include "platform/linux/help/help_paths.h"

namespace {

std::string homeFolder() {
    const char* home = std::getenv("HOME");
    if (home && home[0] == '/') return home;
    const passwd* user = ::getpwuid(::getuid());
    return user && user->pw_dir && user->pw_dir[0] == '/' ? user->pw_dir : "";
}

// FNV-1a, 64 bits: a short stable name, not a safeguard.
void mix(uint64_t& hash, const void* data, size_t size) {
    for (size_t i = 0; i < size; ++i) {
        hash ^= static_cast<const unsigned char*>(data)[i];
        hash *= 0x100000001B3u;
    }
}

std::string hexName(uint64_t hash) {
    char name[17];
    std::snprintf(name, sizeof name, "%016llx", static_cast<unsigned long long>(hash));
    return name;
}

// "<path>-": the start every copy of the help file at `helpFile` has.
std::string copyPrefix(const std::string& helpFile) {
    uint64_t hash = 0xCBF29CE484222325u;
    mix(hash, helpFile.data(), helpFile.size());
    return hexName(hash) + "-";
}

// "<path>-<identity>": a changed or replaced file gets a new name.
std::string folderName(const std::string& helpFile, const struct stat& status) {
    uint64_t hash = 0xCBF29CE484222325u;
    for (const int64_t field : {static_cast<int64_t>(status.st_size), static_cast<int64_t>(status.st_mtim.tv_sec),
                                static_cast<int64_t>(status.st_mtim.tv_nsec), static_cast<int64_t>(status.st_ino),
                                static_cast<int64_t>(status.st_dev)})
        mix(hash, &field, sizeof field);
    return copyPrefix(helpFile) + hexName(hash);
}

// Copies of earlier versions of the help file are never shown again (their
// folder's name no longer matches), and each may hold up to the extraction's
// byte limit: only the current version's folder is kept.
void removeEarlierCopies(const std::string& cacheRoot, const std::string& helpFile, const std::string& current) {
    const std::string prefix = copyPrefix(helpFile);
    std::error_code error;
    std::vector<std::filesystem::path> earlier;
    for (std::filesystem::directory_iterator entry(cacheRoot, error), end; !error && entry != end;
         entry.increment(error)) {
        const std::string name = entry->path().filename().string();
        if (name.starts_with(prefix) && name != current) earlier.push_back(entry->path());
    }
    for (const std::filesystem::path& folder : earlier) std::filesystem::remove_all(folder, error);
}

bool isPage(std::string_view path) {
    const size_t dot = path.rfind('.');
    if (dot == std::string_view::npos) return false;
    std::string extension(path.substr(dot + 1));
    for (char& c : extension) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return extension == "htm" || extension == "html";
}

std::string fileUri(const std::string& path) {
    gchar* uri = g_filename_to_uri(path.c_str(), nullptr, nullptr);
    if (!uri) return {};
    std::string result(uri);
    g_free(uri);
    return result;
}

// A page that sends the browser on to `page#anchor` in the same folder.
std::string jumpPage(std::string_view pageName, std::string_view anchor) {
    gchar* escaped = g_uri_escape_string(std::string(pageName).c_str(), nullptr, FALSE);
    const std::string target = std::string(escaped) + "#" + std::string(anchor);
    g_free(escaped);
    return "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\">\n<meta http-equiv=\"refresh\" content=\"0; url=" +
           target + "\">\n</head><body><a href=\"" + target + "\">" + target + "</a></body></html>\n";
}

// A file already there is an earlier extraction's copy of the same bytes:
// the folder is named after the help file's identity, and files appear in
// it whole.
bool writeUnder(const std::string& folder, const std::string& path, std::string_view bytes) {
    const std::string target = folder + path;
    struct stat existing {};
    if (::lstat(target.c_str(), &existing) == 0 && S_ISREG(existing.st_mode) &&
        static_cast<size_t>(existing.st_size) == bytes.size())
        return true;
    return createFolders(folderOf(target)) && writeFileAtomically(target, bytes);
}

}  // namespace

std::string helpCacheRoot() {
    const char* cache = std::getenv("XDG_CACHE_HOME");
    std::string root;
    if (cache && cache[0] == '/') {
        root = cache;
    } else {
        const std::string home = homeFolder();
        if (home.empty()) return {};
        root = home + "/.cache";
    }
    return root + "/lumara/help";
}

bool extractHelpTopic(const std::string& helpFile, std::string_view topic, const std::string& cacheRoot,
                      ExtractedTopic& extracted, const ExtractionLimits& limits) {
    HelpTopic wanted;
    if (!parseHelpTopic(topic, wanted) || cacheRoot.empty() || cacheRoot.front() != '/' || limits.maxFiles == 0)
        return false;
    const std::unique_ptr<ChmReaderProcess> reader = ChmReaderProcess::start(helpFile, limits.reading);
    if (!reader) return false;
    const std::string name = folderName(helpFile, reader->status());
    removeEarlierCopies(cacheRoot, helpFile, name);
    const std::string folder = cacheRoot + "/" + name;

    std::string page;
    if (reader->read(wanted.page, page) != ChmRead::Read || page.size() > limits.maxBytes ||
        !writeUnder(folder, wanted.page, page))
        return false;
    size_t files = 1;
    size_t bytes = page.size();
    std::set<std::string> seen{wanted.page};
    std::deque<std::pair<std::string, std::string>> toScan;
    toScan.emplace_back(wanted.page, std::move(page));
    while (!toScan.empty()) {
        const auto [path, text] = std::move(toScan.front());
        toScan.pop_front();
        for (const std::string& link : pageLinks(text)) {
            std::string target;
            if (!resolveLink(path, link, target) || !seen.insert(target).second) continue;
            if (files == limits.maxFiles) break;
            std::string linked;
            const ChmRead read = reader->read(target, linked);
            if (read == ChmRead::Unreadable) {
                // The folder belongs to this file alone; nothing of a
                // damaged file is left to be shown.
                std::error_code ignored;
                std::filesystem::remove_all(folder, ignored);
                return false;
            }
            if (read == ChmRead::Absent || linked.size() > limits.maxBytes - bytes) continue;
            if (!writeUnder(folder, target, linked)) continue;
            ++files;
            bytes += linked.size();
            if (isPage(target)) toScan.emplace_back(target, std::move(linked));
        }
    }

    ExtractedTopic copy{fileUri(folder + wanted.page), {}};
    if (copy.pageUri.empty()) return false;
    if (!wanted.anchor.empty()) {
        copy.pageUri += "#" + wanted.anchor;
        const std::string pageName = wanted.page.substr(wanted.page.rfind('/') + 1);
        const std::string jumpPath = wanted.page + "--" + wanted.anchor + ".htm";
        if (writeUnder(folder, jumpPath, jumpPage(pageName, wanted.anchor)))
            copy.jumpUri = fileUri(folder + jumpPath);
    }
    extracted = std::move(copy);
    return true;
}
