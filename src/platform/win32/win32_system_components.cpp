#include "platform/win32/win32_system_components.h"

#include <windows.h>

#include <string>

namespace {

constexpr UINT kSetScreenSaverRunning = 97;  // SPI_SETSCREENSAVERRUNNING
constexpr DWORD kWin9xPlatformId = 1;        // VER_PLATFORM_WIN32_WINDOWS

using VerifyFunction = BOOL(WINAPI*)(HWND);
using ChangePasswordFunction = DWORD(WINAPI*)(LPCSTR, HWND, DWORD, LPVOID);
using AssociateContextFunction = HANDLE(WINAPI*)(HWND, HANDLE);

HMODULE module(SystemComponents::Library library) { return reinterpret_cast<HMODULE>(library); }
HWND hwnd(WindowHandle window) { return reinterpret_cast<HWND>(window); }

template <typename Function>
Function procedure(SystemComponents::Procedure p) {
    return reinterpret_cast<Function>(p);
}

}  // namespace

bool Win32SystemComponents::isWin9xPlatform() {
    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof version;
    return GetVersionExA(&version) && version.dwPlatformId == kWin9xPlatformId;
}

SystemComponents::Library Win32SystemComponents::loadLibrary(std::string_view name) {
    return reinterpret_cast<Library>(LoadLibraryA(std::string(name).c_str()));
}

SystemComponents::Library Win32SystemComponents::loadedModule(std::string_view name) {
    return reinterpret_cast<Library>(GetModuleHandleA(std::string(name).c_str()));
}

SystemComponents::Procedure Win32SystemComponents::findProcedure(Library library, std::string_view name) {
    return reinterpret_cast<Procedure>(GetProcAddress(module(library), std::string(name).c_str()));
}

void Win32SystemComponents::freeLibrary(Library library) { FreeLibrary(module(library)); }

bool Win32SystemComponents::screenSaveUsePassword(uint32_t& value) {
    HKEY desktop = nullptr;
    if (RegOpenKeyA(HKEY_CURRENT_USER, "Control Panel\\Desktop", &desktop) != ERROR_SUCCESS) return false;
    uint32_t stored = 0;
    DWORD size = sizeof stored;
    const LONG read =
        RegQueryValueExA(desktop, "ScreenSaveUsePassword", nullptr, nullptr, reinterpret_cast<BYTE*>(&stored), &size);
    RegCloseKey(desktop);
    if (read != ERROR_SUCCESS) return false;
    value = stored;
    return true;
}

void Win32SystemComponents::setScreenSaverRunning(bool running) {
    BOOL wasRunning = FALSE;
    SystemParametersInfoA(kSetScreenSaverRunning, running ? TRUE : FALSE, &wasRunning, 0);
}

int32_t Win32SystemComponents::callVerifyScreenSavePwd(Procedure verifier, WindowHandle window) {
    return procedure<VerifyFunction>(verifier)(hwnd(window));
}

void Win32SystemComponents::callPwdChangePassword(Procedure changer, std::string_view provider, WindowHandle window) {
    procedure<ChangePasswordFunction>(changer)(std::string(provider).c_str(), hwnd(window), 0, nullptr);
}

uintptr_t Win32SystemComponents::callImmAssociateContext(Procedure associate, WindowHandle window, uintptr_t context) {
    return reinterpret_cast<uintptr_t>(
        procedure<AssociateContextFunction>(associate)(hwnd(window), reinterpret_cast<HANDLE>(context)));
}
