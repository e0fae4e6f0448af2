#pragma once
// The SystemComponents seam (saver/host_platform.h) on Linux, beside
// SdlHost, where the Windows build has Win32SystemComponents. Linux has none
// of the Windows 95/98/Me components the shell can use (the password
// verifier and changer, the input-method library, the screen-saver-running
// flag): nothing loads, and the shell's logic for them finds nothing to call.
// Implements: nothing but the answers "not Windows 95/98/Me" and "none".
#include "saver/host_platform.h"

class NoSystemComponents final : public SystemComponents {
public:
    bool isWin9xPlatform() override { return false; }
    Library loadLibrary(std::string_view) override { return 0; }
    Library loadedModule(std::string_view) override { return 0; }
    Procedure findProcedure(Library, std::string_view) override { return 0; }
    void freeLibrary(Library) override {}
    bool screenSaveUsePassword(uint32_t&) override { return false; }
    void setScreenSaverRunning(bool) override {}
    int32_t callVerifyScreenSavePwd(Procedure, WindowHandle) override { return 1; }
    void callPwdChangePassword(Procedure, std::string_view, WindowHandle) override {}
    uintptr_t callImmAssociateContext(Procedure, WindowHandle, uintptr_t) override { return 0; }
};
