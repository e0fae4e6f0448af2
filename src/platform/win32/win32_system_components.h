#pragma once
// The SystemComponents seam (saver/host_platform.h) on Windows, beside
// Win32Host, where the Linux build has NoSystemComponents.
// Implements: the system's family from GetVersionExA, the components the
// shell loads by name (the password verifier "PASSWORD.CPL", the password
// changer "MPR.DLL", the input-method library "IMM32.DLL") and calls through
// their procedures, "ScreenSaveUsePassword" from the desktop's settings, and
// the screen-saver-running flag.
// Leaves out: any password handling of its own. Only the Windows 95/98/Me
// family has the password components; elsewhere the shell never asks for them.
#include "saver/host_platform.h"

class Win32SystemComponents final : public SystemComponents {
public:
    bool isWin9xPlatform() override;
    Library loadLibrary(std::string_view name) override;
    Library loadedModule(std::string_view name) override;
    Procedure findProcedure(Library library, std::string_view name) override;
    void freeLibrary(Library library) override;
    bool screenSaveUsePassword(uint32_t& value) override;
    void setScreenSaverRunning(bool running) override;
    int32_t callVerifyScreenSavePwd(Procedure verifier, WindowHandle window) override;
    void callPwdChangePassword(Procedure changer, std::string_view provider, WindowHandle window) override;
    uintptr_t callImmAssociateContext(Procedure associate, WindowHandle window, uintptr_t context) override;
};
