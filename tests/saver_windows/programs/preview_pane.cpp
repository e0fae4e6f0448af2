// The display settings' preview pane: a 200 x 150 window at (100, 100)
// whose number goes to "lumara.scr /p N". Wine does not draw a child window
// another process owns, so what is checked is the window the saver makes in
// the pane, and that the saver ends with 0 when the pane closes.
#include <windows.h>
#include <gtest/gtest.h>

#include <string>

#include "test_program.h"

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

TEST(PreviewPane, TheSaverShowsItsPreviewInThePaneAndEndsWithIt) {
    const HWND pane = makePane();
    ASSERT_NE(pane, nullptr);
    pumpFor(500);

    std::string commandLine =
        "\"" + buildFile("bin\\lumara.scr") + "\" /p " + std::to_string(reinterpret_cast<uintptr_t>(pane));
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION saver = {};
    ASSERT_TRUE(CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                               &saver));
    HWND child = nullptr;
    for (int i = 0; i < 300 && !child; ++i) {
        pumpFor(100);
        child = FindWindowExA(pane, nullptr, "WindowsScreenSaverClass", "Preview");
    }
    EXPECT_NE(child, nullptr);
    pumpFor(3000);

    DestroyWindow(pane);
    DWORD code = 255;
    if (WaitForSingleObject(saver.hProcess, 20000) == WAIT_OBJECT_0) GetExitCodeProcess(saver.hProcess, &code);
    else TerminateProcess(saver.hProcess, 255);
    EXPECT_EQ(code, 0u);
}
