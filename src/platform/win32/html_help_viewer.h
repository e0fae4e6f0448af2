#pragma once
// The help viewer on Windows: the HTML Help component, found through its
// registered class or by the name "hhctrl.ocx", and its ANSI entry point
// (ordinal 14). Pairs with Help (dialogs/help.h), which decides when it is
// loaded and never retries after a failure. The library is never freed.
#include <windows.h>

#include "dialogs/help.h"

class HtmlHelpViewer final : public HelpViewer {
public:
    std::string registeredLibrary() override;
    bool loadLibrary(const std::string& pathOrName) override;
    bool findEntryPoint() override;
    intptr_t displayTopic(WindowHandle owner, const std::string& fileAndTopic) override;
    intptr_t displayTextPopup(WindowHandle control, const std::string& file, const HelpPopup& popup) override;
    intptr_t initialize(uint32_t& cookie) override;
    intptr_t uninitialize(uint32_t cookie) override;

private:
    using Entry = HWND(WINAPI*)(HWND owner, LPCSTR file, UINT command, DWORD_PTR data);
    intptr_t call(HWND owner, const char* file, UINT command, DWORD_PTR data);

    HMODULE library_ = nullptr;
    Entry entry_ = nullptr;
};
