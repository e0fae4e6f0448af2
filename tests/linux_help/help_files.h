#pragma once
// The help files the build makes, and damaged copies of them.
#include <filesystem>
#include <string>

#include "platform_linux/temp_folder.h"

inline std::string englishHelp() { return std::string(LUMARA_HELP_DIR) + "/Lumara Help (English).chm"; }
inline std::string germanHelp() { return std::string(LUMARA_HELP_DIR) + "/Lumara Hilfe (Deutsch).chm"; }

// The English help file's first `size` bytes, written to `path`.
inline std::string truncatedHelp(const std::string& path, size_t size) {
    writeText(path, fileText(englishHelp()).substr(0, size));
    return path;
}

// The English help file with every `stride`-th byte from `offset` inverted,
// written to `path`.
inline std::string scrambledHelp(const std::string& path, size_t offset, size_t stride) {
    std::string bytes = fileText(englishHelp());
    for (size_t at = offset; at < bytes.size(); at += stride) bytes[at] = static_cast<char>(~bytes[at]);
    writeText(path, bytes);
    return path;
}
