#pragma once
// What the Windows test programs share: one assertion that reports, counts
// and keeps going, the closing report, and reading the saver's user key.
#include <windows.h>

#include <cstdio>
#include <string>

inline int failures = 0;

#define CHECK(condition)                                                      \
    do {                                                                      \
        if (!(condition)) {                                                   \
            std::printf("%s:%d: failed: %s\n", __FILE__, __LINE__, #condition); \
            ++failures;                                                       \
        }                                                                     \
    } while (0)

// Prints the number of failed checks; the exit status: 0 when none failed.
inline int report() {
    std::printf("%s: %d failed checks\n", failures ? "FAILED" : "passed", failures);
    return failures ? 1 : 0;
}

inline constexpr char kSaverKey[] = "Software\\Tellix\\VEXA";

inline HKEY openUserKey() {
    HKEY key = nullptr;
    RegOpenKeyExA(HKEY_CURRENT_USER, kSaverKey, 0, KEY_ALL_ACCESS, &key);
    return key;
}

// A value's registry type, 0 when it is absent.
inline DWORD storedType(HKEY key, const char* name) {
    DWORD type = 0;
    return RegQueryValueExA(key, name, nullptr, &type, nullptr, nullptr) == ERROR_SUCCESS ? type : 0;
}

inline DWORD storedNumber(HKEY key, const char* name) {
    DWORD value = 0, size = sizeof value;
    RegQueryValueExA(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(&value), &size);
    return value;
}

inline std::string storedText(HKEY key, const char* name) {
    char text[512] = {};
    DWORD size = sizeof text - 1;
    if (RegQueryValueExA(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(text), &size) != ERROR_SUCCESS)
        return "(none)";
    return text;
}
