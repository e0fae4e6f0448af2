#pragma once
// The dialogs' view on Windows: real dialogs from the program's DIALOGEX
// resources, their controls driven by the dialog manager's own messages.
// Pairs with the controllers of src/dialogs; every message of a dialog
// goes to its controller as Windows delivers it, except that WM_NOTIFY
// carries the notification code in lParam and WM_INITDIALOG no parameter.
// The settings pages are modeless dialogs owned by the settings dialog;
// while it runs, a message filter gives them the dialog manager's keyboard
// handling (Tab among the page's controls; Enter and Esc for the dialog, by
// the rule of dialogs/dialog_keys.h).
#include <windows.h>

#include <memory>
#include <vector>

#include "dialogs/dialog_services.h"
#include "dialogs/dialog_view.h"

class Win32DialogView final : public DialogView {
public:
    Win32DialogView(HINSTANCE resources, DialogController& controller);
    ~Win32DialogView() override;
    Win32DialogView(const Win32DialogView&) = delete;
    Win32DialogView& operator=(const Win32DialogView&) = delete;

    // Runs dialog `templateId` of `resources` modally, owned by `owner`.
    static int run(HINSTANCE resources, uint32_t templateId, HWND owner, DialogController& controller);

    WindowHandle window() override;
    WindowHandle control(int id) override;
    int32_t controlId(WindowHandle window) override;
    void setText(int id, std::string_view text) override;
    std::string text(int id, size_t limit) override;
    void setTextLimit(int id, size_t limit) override;
    void enable(int id, bool enabled) override;
    void focus(int id) override;
    bool isChecked(int id) override;
    void setChecked(int id, bool checked) override;
    std::vector<DescendantWindow> descendants() override;
    void setWindowText(WindowHandle window, std::string_view text) override;
    void listReset(int id) override;
    void listAdd(int id, std::string_view row) override;
    void listDelete(int id, int row) override;
    void listSelect(int id, int row) override;
    int listSelection(int id) override;
    void comboReset(int id) override;
    void comboAdd(int id, std::string_view row) override;
    void comboSelect(int id, int row) override;
    int comboSelection(int id) override;
    void trackbarSetup(int id, int32_t low, int32_t high, int32_t tickFrequency, int32_t pageSize,
                       int32_t lineSize) override;
    void trackbarSetPosition(int id, int32_t position) override;
    int32_t trackbarPosition(int id) override;
    void tabInsert(int id, int index, std::string_view text) override;
    int tabSelection(int id) override;
    PixelRect tabItemRect(int id, int index) override;
    PixelRect controlScreenRect(int id) override;
    bool openFile(const OpenFileRequest& request, std::string& path) override;
    void showError(std::string_view caption, std::string_view text) override;
    int runModal(uint32_t templateId, DialogController& controller) override;
    WindowHandle createPage(uint32_t templateId, int ownerControl, DialogController& controller) override;
    void placeWindow(WindowHandle window, const PixelRect& rect) override;
    void showWindow(WindowHandle window, bool shown) override;
    void centre() override;
    void endDialog(int result) override;

private:
    static INT_PTR CALLBACK dialogProc(HWND dialog, UINT id, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK keyboardFilter(int code, WPARAM wParam, LPARAM lParam);
    LRESULT sendItem(int id, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    bool pageKeyboard(MSG& message);

    HINSTANCE resources_;
    DialogController& controller_;
    HWND window_ = nullptr;
    std::vector<std::unique_ptr<Win32DialogView>> pages_;
    HHOOK filter_ = nullptr;
};

// The configuration mode: the common controls, then dialog 2003 owned by
// `owner`, which runs the settings dialog; the settings dialog's result.
int runConfigureDialog(HINSTANCE resources, HWND owner, DialogServices& services);
