#pragma once
#include <optional>
#include <string>
#include <string_view>

// Whole-file reads and writes on POSIX files, for FileStore's hive files.
// Implements: bounded reads, atomic replacement (temporary file, fsync,
// rename), copies kept beside a damaged file, folder creation.
// Leaves out: locking; two writers each replace the file whole, the later wins.

enum class FileReadResult { Read, Absent, Unreadable, TooLarge };

// Reads at most `limit` bytes; a larger file is TooLarge.
FileReadResult readWholeFile(const std::string& path, size_t limit, std::string& out);

// Replaces `path` with `bytes` so that a reader sees the old file or the new
// one, never a mix: a temporary file in the same folder is written, flushed
// to disk and renamed over the old one. Keeps the old file's permissions.
bool writeFileAtomically(const std::string& path, std::string_view bytes);

// Copies `path` to the first free name of "<path>.damaged", "<path>.damaged.1",
// ... without ever replacing an existing file. True when a copy was made or
// there is nothing to copy.
bool keepDamagedCopy(const std::string& path);

// Creates `folder` and its missing parents.
bool createFolders(const std::string& folder);

// The folder part of a path ("." for a bare name).
std::string folderOf(const std::string& path);
