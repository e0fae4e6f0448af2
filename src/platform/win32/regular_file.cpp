#include "platform/win32/regular_file.h"

#include <windows.h>

namespace {

// Opens `path` for reading when it is a disk file; INVALID_HANDLE_VALUE
// otherwise, with `why` Absent or Unreadable. Opening a pipe or device does
// not wait: a busy pipe fails at once, others open and are refused by type.
HANDLE openDiskFile(const std::string& path, FileReadResult& why) {
    const HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        why = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? FileReadResult::Absent
                                                                              : FileReadResult::Unreadable;
        return INVALID_HANDLE_VALUE;
    }
    BY_HANDLE_FILE_INFORMATION info{};
    if (GetFileType(file) != FILE_TYPE_DISK || !GetFileInformationByHandle(file, &info) ||
        (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        CloseHandle(file);
        why = FileReadResult::Unreadable;
        return INVALID_HANDLE_VALUE;
    }
    return file;
}

}  // namespace

FileReadResult readRegularFile(const std::string& path, size_t limit, std::string& out) {
    FileReadResult result = FileReadResult::Read;
    const HANDLE file = openDiskFile(path, result);
    if (file == INVALID_HANDLE_VALUE) return result;
    out.clear();
    char buffer[65536];
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(file, buffer, sizeof buffer, &got, nullptr)) {
            result = FileReadResult::Unreadable;
            break;
        }
        if (got == 0) break;
        if (out.size() + got > limit) {
            result = FileReadResult::TooLarge;
            break;
        }
        out.append(buffer, got);
    }
    CloseHandle(file);
    return result;
}

bool isRegularFile(const std::string& path) {
    FileReadResult why = FileReadResult::Read;
    const HANDLE file = openDiskFile(path, why);
    if (file == INVALID_HANDLE_VALUE) return false;
    CloseHandle(file);
    return true;
}
