#pragma once
#include <string>
#include <string_view>

// Whole-file writes on POSIX files, for FileStore's hive files (reads go
// through regular_file.h).
// Implements: atomic replacement (a fixed temporary file beside the target,
// locked, fsync, rename; a killed save's leftover is taken over by the next),
// writing through a store file that is a symbolic link, copies kept beside a
// damaged file, telling a read-only file, folder creation.
// Leaves out: ordering two writers; each replaces the file whole, the later wins.

// Replaces `path` with `bytes` so that a reader sees the old file or the new
// one, never a mix: "<file>.tmp" beside it is written, flushed to disk and
// renamed over it. Keeps the old file's permissions. When `path` is a
// symbolic link, the file it leads to is replaced and the link stays.
//
// The temporary name is fixed, so a save that was killed leaves at most one
// such file, which the next save takes over. Saves lock it while they write
// it; one that finds it locked waits up to a second for the other save, and
// fails when that is not enough.
bool writeFileAtomically(const std::string& path, std::string_view bytes);

// The file `path` leads to through any symbolic links (the path itself when
// it is none); the links' targets need not exist.
std::string followLinks(const std::string& path);

// True when `path` (through any links) is a file its owner made read-only
// (no write permission bit set, which binds root too) or one this process
// may not write. Renaming a new file over it would still work, but would
// undo the user's choice. False when there is no such file.
bool isReadOnlyFile(const std::string& path);

// Copies `path` to the first free name of "<path>.damaged", "<path>.damaged.1",
// ... without ever replacing an existing file. True when a copy was made or
// there is nothing to copy.
bool keepDamagedCopy(const std::string& path);

// Creates `folder` and its missing parents.
bool createFolders(const std::string& folder);

// The folder part of a path ("." for a bare name).
std::string folderOf(const std::string& path);
