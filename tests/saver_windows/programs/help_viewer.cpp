// Opens a topic of a help file in the system's HTML Help viewer, reached the
// way the settings dialog reaches it: the library registered for the HTML
// Help control's class, else "hhctrl.ocx" by name, and its ANSI entry point
// HtmlHelpA by ordinal 14.
//   help_viewer FILE.chm TOPIC TITLE   exit 0 when the viewer returns its
//                                      window, shown and titled TITLE
#include <windows.h>

#include "check.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace {

using HtmlHelpEntry = HWND(WINAPI*)(HWND, LPCSTR, UINT, DWORD_PTR);
constexpr UINT kDisplayTopic = 0;  // HH_DISPLAY_TOPIC
constexpr UINT kCloseAll = 18;     // HH_CLOSE_ALL

HMODULE loadRegisteredViewer() {
    HKEY key;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, "CLSID\\{ADB880A6-D8FF-11CF-9377-00AA003B7A11}\\InprocServer32", 0,
                      KEY_READ, &key) != ERROR_SUCCESS)
        return nullptr;
    char path[260] = {};
    DWORD size = sizeof path - 1;
    const bool read = RegQueryValueExA(key, nullptr, nullptr, nullptr, reinterpret_cast<BYTE*>(path), &size) ==
                      ERROR_SUCCESS;
    RegCloseKey(key);
    if (!read) return nullptr;
    std::printf("registered viewer: %s\n", path);
    return LoadLibraryA(path);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::printf("usage: help_viewer FILE.chm TOPIC TITLE\n");
        return 2;
    }
    HMODULE viewer = loadRegisteredViewer();
    if (!viewer) viewer = LoadLibraryA("hhctrl.ocx");
    CHECK(viewer != nullptr);
    const auto htmlHelp =
        viewer ? reinterpret_cast<HtmlHelpEntry>(reinterpret_cast<void*>(GetProcAddress(viewer, MAKEINTRESOURCEA(14))))
               : nullptr;
    CHECK(htmlHelp != nullptr);
    if (htmlHelp) {
        const std::string topic = std::string(argv[1]) + argv[2];
        const HWND window = htmlHelp(nullptr, topic.c_str(), kDisplayTopic, 0);
        CHECK(window != nullptr && IsWindow(window));
        CHECK(window != nullptr && IsWindowVisible(window));
        char title[256] = {};
        if (window) GetWindowTextA(window, title, sizeof title);
        std::printf("window title: %s\n", title);
        CHECK(std::strcmp(title, argv[3]) == 0);
        // A file that does not exist opens nothing.
        CHECK(htmlHelp(nullptr, (std::string(argv[1]) + ".missing::/settings.htm").c_str(), kDisplayTopic, 0) ==
              nullptr);
        htmlHelp(nullptr, nullptr, kCloseAll, 0);
    }
    std::printf("%s: %d failed checks\n", failures ? "FAILED" : "passed", failures);
    return failures ? 1 : 0;
}
