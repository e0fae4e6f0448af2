#include "platform/win32/win32_dialog_view.h"

#include <commctrl.h>
#include <commdlg.h>

#include <optional>
#include <string>

#include "dialogs/configure_dialog.h"
#include "dialogs/dialog_keys.h"
#include "dialogs/dialog_placement.h"
#include "ui/dialog_ids.h"

namespace {

HWND hwnd(WindowHandle window) { return reinterpret_cast<HWND>(window); }
WindowHandle handle(HWND window) { return reinterpret_cast<WindowHandle>(window); }

PixelRect fromRect(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

// The one view whose pages get keyboard handling: the thread runs one
// settings dialog at a time.
Win32DialogView* filteringView = nullptr;

}  // namespace

Win32DialogView::Win32DialogView(HINSTANCE resources, DialogController& controller)
    : resources_(resources), controller_(controller) {
    controller_.attach(*this);
}

Win32DialogView::~Win32DialogView() {
    if (filter_) UnhookWindowsHookEx(filter_);
    if (filteringView == this) filteringView = nullptr;
}

int Win32DialogView::run(HINSTANCE resources, uint32_t templateId, HWND owner, DialogController& controller) {
    Win32DialogView view(resources, controller);
    return static_cast<int>(DialogBoxParamA(resources, MAKEINTRESOURCEA(templateId), owner, dialogProc,
                                            reinterpret_cast<LPARAM>(&view)));
}

INT_PTR CALLBACK Win32DialogView::dialogProc(HWND dialog, UINT id, WPARAM wParam, LPARAM lParam) {
    Win32DialogView* view = nullptr;
    if (id == WM_INITDIALOG) {
        view = reinterpret_cast<Win32DialogView*>(lParam);
        view->window_ = dialog;
        SetWindowLongPtrA(dialog, DWLP_USER, lParam);
        lParam = 0;
    } else {
        view = reinterpret_cast<Win32DialogView*>(GetWindowLongPtrA(dialog, DWLP_USER));
    }
    if (!view) return FALSE;
    if (id == WM_NOTIFY) lParam = static_cast<int32_t>(reinterpret_cast<const NMHDR*>(lParam)->code);
    const intptr_t result = view->controller_.dialogProc(Message{id, wParam, lParam});
    if (id == WM_NOTIFY) SetWindowLongPtrA(dialog, DWLP_MSGRESULT, result);
    return result;
}

// The modal loop runs the dialog manager for the modal dialog only; the
// pages are owned windows, not its children, so their keys come here.
LRESULT CALLBACK Win32DialogView::keyboardFilter(int code, WPARAM wParam, LPARAM lParam) {
    if (code == MSGF_DIALOGBOX && filteringView && filteringView->pageKeyboard(*reinterpret_cast<MSG*>(lParam)))
        return 1;
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

bool Win32DialogView::pageKeyboard(MSG& m) {
    for (const auto& page : pages_) {
        const HWND p = page->window_;
        if (!p || (m.hwnd != p && !IsChild(p, m.hwnd))) continue;
        if (m.message == WM_KEYDOWN && (m.wParam == VK_RETURN || m.wParam == VK_ESCAPE)) {
            const bool droppedList = SendMessageA(m.hwnd, CB_GETDROPPEDSTATE, 0, 0) != 0;
            const bool button = (SendMessageA(m.hwnd, WM_GETDLGCODE, 0, 0) & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON));
            const DialogKey key = m.wParam == VK_RETURN ? DialogKey::Enter : DialogKey::Escape;
            // OK is the settings dialog's default button.
            if (int clicked = 0; dialogKeyCommand(key, {button, droppedList}, IDOK, clicked)) {
                SendMessageA(window_, WM_COMMAND, clicked, reinterpret_cast<LPARAM>(GetDlgItem(window_, clicked)));
                return true;
            }
        }
        return IsDialogMessageA(p, &m) != FALSE;
    }
    return false;
}

LRESULT Win32DialogView::sendItem(int id, UINT message, WPARAM wParam, LPARAM lParam) {
    return SendDlgItemMessageA(window_, id, message, wParam, lParam);
}

WindowHandle Win32DialogView::window() { return handle(window_); }

WindowHandle Win32DialogView::control(int id) { return handle(GetDlgItem(window_, id)); }

int32_t Win32DialogView::controlId(WindowHandle window) { return GetDlgCtrlID(hwnd(window)); }

void Win32DialogView::setText(int id, std::string_view text) { SetDlgItemTextA(window_, id, std::string(text).c_str()); }

std::string Win32DialogView::text(int id, size_t limit) {
    std::string buffer(limit + 1, '\0');
    const UINT length = GetDlgItemTextA(window_, id, buffer.data(), static_cast<int>(buffer.size()));
    buffer.resize(length);
    return buffer;
}

void Win32DialogView::setTextLimit(int id, size_t limit) { sendItem(id, EM_LIMITTEXT, limit); }

void Win32DialogView::enable(int id, bool enabled) { EnableWindow(GetDlgItem(window_, id), enabled); }

void Win32DialogView::focus(int id) { SetFocus(GetDlgItem(window_, id)); }

bool Win32DialogView::isChecked(int id) { return IsDlgButtonChecked(window_, id) == BST_CHECKED; }

void Win32DialogView::setChecked(int id, bool checked) { CheckDlgButton(window_, id, checked ? BST_CHECKED : BST_UNCHECKED); }

namespace {

// A window enumeration callback: stdcall on 32-bit Windows, which a lambda
// cannot be.
BOOL CALLBACK collectDescendant(HWND child, LPARAM list) {
    reinterpret_cast<std::vector<DescendantWindow>*>(list)->push_back({handle(child), GetDlgCtrlID(child)});
    return TRUE;
}

}  // namespace

std::vector<DescendantWindow> Win32DialogView::descendants() {
    std::vector<DescendantWindow> found;
    EnumChildWindows(window_, collectDescendant, reinterpret_cast<LPARAM>(&found));
    return found;
}

void Win32DialogView::setWindowText(WindowHandle window, std::string_view text) {
    SetWindowTextA(hwnd(window), std::string(text).c_str());
}

void Win32DialogView::listReset(int id) { sendItem(id, LB_RESETCONTENT); }

void Win32DialogView::listAdd(int id, std::string_view row) {
    sendItem(id, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(std::string(row).c_str()));
}

void Win32DialogView::listDelete(int id, int row) { sendItem(id, LB_DELETESTRING, static_cast<WPARAM>(row)); }

void Win32DialogView::listSelect(int id, int row) { sendItem(id, LB_SETCURSEL, static_cast<WPARAM>(row)); }

int Win32DialogView::listSelection(int id) { return static_cast<int>(sendItem(id, LB_GETCURSEL)); }

void Win32DialogView::comboReset(int id) { sendItem(id, CB_RESETCONTENT); }

void Win32DialogView::comboAdd(int id, std::string_view row) {
    sendItem(id, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(std::string(row).c_str()));
}

void Win32DialogView::comboSelect(int id, int row) { sendItem(id, CB_SETCURSEL, static_cast<WPARAM>(row)); }

int Win32DialogView::comboSelection(int id) { return static_cast<int>(sendItem(id, CB_GETCURSEL)); }

void Win32DialogView::trackbarSetup(int id, int32_t low, int32_t high, int32_t tickFrequency, int32_t pageSize,
                                    int32_t lineSize) {
    sendItem(id, TBM_SETRANGE, TRUE, MAKELPARAM(static_cast<WORD>(low), static_cast<WORD>(high)));
    sendItem(id, TBM_SETTICFREQ, static_cast<WPARAM>(tickFrequency));
    sendItem(id, TBM_SETPAGESIZE, 0, pageSize);
    sendItem(id, TBM_SETLINESIZE, 0, lineSize);
}

void Win32DialogView::trackbarSetPosition(int id, int32_t position) { sendItem(id, TBM_SETPOS, TRUE, position); }

int32_t Win32DialogView::trackbarPosition(int id) { return static_cast<int32_t>(sendItem(id, TBM_GETPOS)); }

void Win32DialogView::tabInsert(int id, int index, std::string_view text) {
    std::string label(text);
    TCITEMA item = {};
    item.mask = TCIF_TEXT;
    item.pszText = label.data();
    sendItem(id, TCM_INSERTITEMA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
}

int Win32DialogView::tabSelection(int id) { return static_cast<int>(sendItem(id, TCM_GETCURSEL)); }

PixelRect Win32DialogView::tabItemRect(int id, int index) {
    RECT r = {};
    sendItem(id, TCM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r));
    return fromRect(r);
}

PixelRect Win32DialogView::controlScreenRect(int id) {
    RECT r = {};
    GetWindowRect(GetDlgItem(window_, id), &r);
    return fromRect(r);
}

bool Win32DialogView::openFile(const OpenFileRequest& request, std::string& path) {
    std::string filter;
    for (const auto& [description, pattern] : request.filters) filter += description + '\0' + pattern + '\0';
    filter += '\0';
    std::string file(request.bufferSize, '\0');
    OPENFILENAMEA dialog = {};
    dialog.lStructSize = OPENFILENAME_SIZE_VERSION_400A;  // the form every Windows version takes
    dialog.hwndOwner = window_;
    dialog.lpstrFilter = filter.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = file.data();
    dialog.nMaxFile = static_cast<DWORD>(file.size());
    dialog.lpstrInitialDir = request.initialFolder.empty() ? nullptr : request.initialFolder.c_str();
    dialog.lpstrTitle = request.title.c_str();
    dialog.Flags = OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST | OFN_NONETWORKBUTTON | OFN_ENABLESIZING;
    if (!GetOpenFileNameA(&dialog)) return false;
    path = file.c_str();
    return true;
}

void Win32DialogView::showError(std::string_view caption, std::string_view text) {
    MessageBoxA(window_, std::string(text).c_str(), std::string(caption).c_str(), MB_OK | MB_ICONERROR);
}

int Win32DialogView::runModal(uint32_t templateId, DialogController& controller) {
    return run(resources_, templateId, GetActiveWindow(), controller);
}

WindowHandle Win32DialogView::createPage(uint32_t templateId, int ownerControl, DialogController& controller) {
    auto page = std::make_unique<Win32DialogView>(resources_, controller);
    const HWND created = CreateDialogParamA(resources_, MAKEINTRESOURCEA(templateId), GetDlgItem(window_, ownerControl),
                                            dialogProc, reinterpret_cast<LPARAM>(page.get()));
    if (!created) return 0;
    pages_.push_back(std::move(page));
    if (!filter_) {
        filter_ = SetWindowsHookExA(WH_MSGFILTER, keyboardFilter, nullptr, GetCurrentThreadId());
        filteringView = this;
    }
    return handle(created);
}

void Win32DialogView::placeWindow(WindowHandle window, const PixelRect& r) {
    SetWindowPos(hwnd(window), HWND_TOP, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_NOACTIVATE);
}

// Shown without activation: the settings dialog keeps the focus and its
// active caption.
void Win32DialogView::showWindow(WindowHandle window, bool shown) {
    ShowWindow(hwnd(window), shown ? SW_SHOWNA : SW_HIDE);
}

void Win32DialogView::centre() {
    RECT area = {}, own = {}, over = {};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    GetWindowRect(window_, &own);
    std::optional<PixelRect> owner;
    const HWND ownerWindow = GetWindow(window_, GW_OWNER);
    if (ownerWindow && IsWindowVisible(ownerWindow) && !IsIconic(ownerWindow) && GetWindowRect(ownerWindow, &over))
        owner = PixelRect{over.left, over.top, over.right, over.bottom};
    const PixelRect placed = centredPlacement(own.right - own.left, own.bottom - own.top, owner,
                                              {area.left, area.top, area.right, area.bottom});
    SetWindowPos(window_, nullptr, placed.left, placed.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Win32DialogView::endDialog(int result) { EndDialog(window_, result); }

int runConfigureDialog(HINSTANCE resources, HWND owner, DialogServices& services) {
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_TAB_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    ConfigureDialog configure(services);
    return Win32DialogView::run(resources, dlg::kConfigure, owner, configure);
}
