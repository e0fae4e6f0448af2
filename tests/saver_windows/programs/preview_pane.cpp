// Plays the display settings' preview pane: a 200 x 150 window at
// (100, 100) whose number goes to "SAVER /p N". It reports "preview shown"
// once the saver's child window is in it, keeps it up for three seconds,
// closes the pane and reports and returns the saver's exit code.
//   preview_pane SAVER.scr
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

void pumpFor(DWORD milliseconds) {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < milliseconds) {
        MSG m;
        while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&m);
            DispatchMessageA(&m);
        }
        Sleep(20);
    }
}

HWND makePane() {
    WNDCLASSA paneClass = {};
    paneClass.lpfnWndProc = DefWindowProcA;
    paneClass.hInstance = GetModuleHandleA(nullptr);
    paneClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    paneClass.lpszClassName = "PreviewPane";
    RegisterClassA(&paneClass);
    return CreateWindowExA(0, "PreviewPane", "Preview pane", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 100, 100, 200, 150, nullptr,
                           nullptr, paneClass.hInstance, nullptr);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::printf("usage: preview_pane SAVER.scr\n");
        return 2;
    }
    const HWND pane = makePane();
    if (!pane) return 3;
    pumpFor(500);

    std::string commandLine = "\"" + std::string(argv[1]) + "\" /p " + std::to_string(reinterpret_cast<uintptr_t>(pane));
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION saver = {};
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &saver)) {
        std::printf("cannot start %s\n", argv[1]);
        return 3;
    }
    HWND child = nullptr;
    for (int i = 0; i < 300 && !child; ++i) {
        pumpFor(100);
        child = FindWindowExA(pane, nullptr, "WindowsScreenSaverClass", "Preview");
    }
    std::printf(child ? "preview shown\n" : "no preview window\n");
    std::fflush(stdout);
    pumpFor(3000);

    DestroyWindow(pane);
    DWORD code = 255;
    if (WaitForSingleObject(saver.hProcess, 20000) == WAIT_OBJECT_0) GetExitCodeProcess(saver.hProcess, &code);
    else TerminateProcess(saver.hProcess, 255);
    std::printf("saver exit %lu\n", static_cast<unsigned long>(code));
    std::fflush(stdout);
    return child ? static_cast<int>(code) : 4;
}
