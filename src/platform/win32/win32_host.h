#pragma once
// The HostPlatform, DialogPlatform and SaverWindowPlatform seams
// (saver/host_platform.h, saver/saver_window.h) on Win32, where the Linux
// build has SdlHost, WaylandHost and, for the dialog, its module. Pair it
// with D3d9Device, PlaySoundPlayer and Win32SystemComponents.
// Implements: the window class "WindowsScreenSaverClass", the saver window
// (a topmost pop-up over the virtual screen, or a child filling the preview
// pane), the message loop, the frame timer, the cursor, the power status,
// the running saver found by class and title, the preview picture (bitmap
// resource 219), and the settings dialog (runConfigureDialog over the Win32
// dialog view). Every message of the window goes to the host shell as it is.
// Leaves out: more than one host per process.
#include <windows.h>

#include "dialogs/dialog_services.h"
#include "saver/host_platform.h"
#include "saver/saver_window.h"

class Win32Host final : public HostPlatform, public SaverWindowPlatform, public DialogPlatform {
public:
    // `dialogs`: what the settings dialog works on.
    Win32Host(HINSTANCE instance, DialogServices& dialogs);
    ~Win32Host() override;
    Win32Host(const Win32Host&) = delete;
    Win32Host& operator=(const Win32Host&) = delete;

    // HostPlatform
    bool isWindow(WindowHandle window) override;
    WindowHandle foregroundWindow() override;
    void setForegroundWindow(WindowHandle window) override;
    WindowHandle parentOf(WindowHandle window) override;
    WindowHandle findRunningSaver() override;
    ScreenRect virtualScreen() override;
    ScreenRect screenClipBox() override;
    ScreenRect clientRect(WindowHandle window) override;
    WindowHandle createSaverWindow(const SaverWindowLayout& layout, WindowProcedure& procedure) override;
    int runMessageLoop() override;
    void postQuit(int code) override;
    intptr_t defaultWindowProc(WindowHandle window, const Message& message) override;
    void postMessage(WindowHandle window, const Message& message) override;
    intptr_t sendMessage(WindowHandle window, const Message& message) override;
    void removePendingTimers(WindowHandle window, int count) override;
    uint32_t registerMessage(std::string_view name) override;
    ScreenPoint cursorPosition() override;
    void hideCursor() override;
    uint32_t tickCount() override;
    void yieldTimeSlice() override;
    uint8_t acLineStatus() override;

    // DialogPlatform (isWindow and foregroundWindow as above)
    int showConfigureDialog(WindowHandle owner) override;

    // SaverWindowPlatform
    ScreenRect windowRect(WindowHandle window) override;
    uint32_t setTimer(WindowHandle window, uint32_t id, uint32_t periodMs) override;
    void killTimer(WindowHandle window, uint32_t id) override;
    void loadPreviewPicture() override;
    void paintPreviewPicture(WindowHandle window) override;

private:
    static LRESULT CALLBACK windowProc(HWND window, UINT id, WPARAM wParam, LPARAM lParam);

    HINSTANCE instance_;
    DialogServices& dialogs_;
    WindowProcedure* procedure_ = nullptr;  // the saver window's, from its creation on
    HBITMAP previewBitmap_ = nullptr;
};
