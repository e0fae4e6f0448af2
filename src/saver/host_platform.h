#pragma once
#include <cstdint>
#include <string_view>

#include "saver/messages.h"

struct ScreenRect {
    int32_t left = 0, top = 0, width = 0, height = 0;
    bool operator==(const ScreenRect&) const = default;
};

struct ScreenPoint {
    int32_t x = 0, y = 0;
};

// How the saver window is made: a child filling the preview pane, or a
// topmost pop-up over the whole virtual screen; or, as a screen-saver
// daemon's hack, the daemon's window itself or a resizable window of its own.
struct SaverWindowLayout {
    WindowHandle parent = 0;  // the preview pane or the hack's window; 0 for full screen or a window of its own
    ScreenRect rect;
    const char* title = "";
    bool hack = false;  // a daemon's hack: draws into `parent` as it is and follows its size
};

// The saver window's procedure: the host shell, which the platform hands
// every message of the window from its creation on.
class WindowProcedure {
public:
    virtual ~WindowProcedure() = default;
    virtual intptr_t windowProc(WindowHandle window, const Message& message) = 0;
};

// What the host shell needs of the windowing system. The Windows adapter
// maps each operation onto one or two Win32 calls; the Linux adapter
// implements them over SDL and X11.
class HostPlatform {
public:
    virtual ~HostPlatform() = default;

    virtual bool isWindow(WindowHandle window) = 0;
    virtual WindowHandle foregroundWindow() = 0;
    virtual void setForegroundWindow(WindowHandle window) = 0;
    virtual WindowHandle parentOf(WindowHandle window) = 0;
    // A running full-screen saver: class "WindowsScreenSaverClass", title "Screen Saver".
    virtual WindowHandle findRunningSaver() = 0;
    // Brings the saver findRunningSaver found to the front; the run's exit
    // code: 0, or another where the platform could not reach that saver
    // (and said so).
    virtual int raiseRunningSaver(WindowHandle running) {
        setForegroundWindow(running);
        return 0;
    }
    virtual ScreenRect virtualScreen() = 0;
    // The screen's clip box, used when the virtual screen reports no size.
    virtual ScreenRect screenClipBox() = 0;
    virtual ScreenRect clientRect(WindowHandle window) = 0;

    // Registers the window class and creates the window; 0 on failure. The
    // platform delivers the window's messages to `procedure` from here on,
    // creation included, until the message loop ends.
    virtual WindowHandle createSaverWindow(const SaverWindowLayout& layout, WindowProcedure& procedure) = 0;
    // Runs the message loop to its quit message; returns the quit code.
    virtual int runMessageLoop() = 0;
    // Ends the message loop; `code` becomes its result, the run's exit code.
    virtual void postQuit(int code) = 0;
    virtual intptr_t defaultWindowProc(WindowHandle window, const Message& message) = 0;
    virtual void postMessage(WindowHandle window, const Message& message) = 0;
    virtual intptr_t sendMessage(WindowHandle window, const Message& message) = 0;
    // Drops up to `count` pending timer messages of the window.
    virtual void removePendingTimers(WindowHandle window, int count) = 0;
    virtual uint32_t registerMessage(std::string_view name) = 0;

    virtual ScreenPoint cursorPosition() = 0;
    virtual void hideCursor() = 0;
    virtual uint32_t tickCount() = 0;  // milliseconds, wrapping
    virtual void yieldTimeSlice() = 0;
    virtual uint8_t acLineStatus() = 0;  // 255 when unknown
};

// What the settings dialog needs of the windowing system: the window it is
// kept over, and the dialog itself. A run of the dialog needs nothing else,
// so a platform may serve it without a saver window's host.
class DialogPlatform {
public:
    virtual ~DialogPlatform() = default;

    virtual bool isWindow(WindowHandle window) = 0;
    virtual WindowHandle foregroundWindow() = 0;
    // The settings dialog, modal, owned by `owner` (0 for none); its result.
    virtual int showConfigureDialog(WindowHandle owner) = 0;
};

// System components loaded by name at run time. They exist only on the
// Windows 95/98/Me family; elsewhere nothing loads and the logic that uses
// them simply finds none.
class SystemComponents {
public:
    using Library = uintptr_t;    // 0 is none
    using Procedure = uintptr_t;  // 0 is none

    virtual ~SystemComponents() = default;

    virtual bool isWin9xPlatform() = 0;
    virtual Library loadLibrary(std::string_view name) = 0;
    virtual Library loadedModule(std::string_view name) = 0;  // without loading it
    virtual Procedure findProcedure(Library library, std::string_view name) = 0;
    virtual void freeLibrary(Library library) = 0;

    // "ScreenSaveUsePassword" of the user's "Control Panel\Desktop" key,
    // into `value`; false, leaving `value` as it was, when the key or the
    // value cannot be read.
    virtual bool screenSaveUsePassword(uint32_t& value) = 0;
    virtual void setScreenSaverRunning(bool running) = 0;

    virtual int32_t callVerifyScreenSavePwd(Procedure verifier, WindowHandle window) = 0;
    virtual void callPwdChangePassword(Procedure changer, std::string_view provider, WindowHandle window) = 0;
    virtual uintptr_t callImmAssociateContext(Procedure associate, WindowHandle window, uintptr_t context) = 0;
};
