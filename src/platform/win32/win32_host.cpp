#include "platform/win32/win32_host.h"

#include <string>

#include "platform/win32/resource_ids.h"
#include "platform/win32/win32_dialog_view.h"

namespace {

constexpr char kClassName[] = "WindowsScreenSaverClass";
constexpr int kClassIconId = 100;  // not among the resources: the class has no icon

// The window procedure is a plain function; the one host of the process
// receives its messages.
Win32Host* theHost = nullptr;

HWND hwnd(WindowHandle window) { return reinterpret_cast<HWND>(window); }
WindowHandle handle(HWND window) { return reinterpret_cast<WindowHandle>(window); }

ScreenRect fromRect(const RECT& r) { return {r.left, r.top, r.right - r.left, r.bottom - r.top}; }
RECT toRect(const ScreenRect& r) { return {r.left, r.top, r.left + r.width, r.top + r.height}; }

// The portable names of the power events the close rules tell apart.
static_assert(msg::kPowerStatusChange == PBT_APMPOWERSTATUSCHANGE && msg::kPowerResumeCritical == PBT_APMRESUMECRITICAL &&
              msg::kPowerResumeSuspend == PBT_APMRESUMESUSPEND && msg::kPowerResumeStandby == PBT_APMRESUMESTANDBY &&
              msg::kPowerResumeAutomatic == PBT_APMRESUMEAUTOMATIC &&
              msg::kPowerResumeFromFailure == PBTF_APMRESUMEFROMFAILURE);

}  // namespace

Win32Host::Win32Host(HINSTANCE instance, DialogServices& dialogs) : instance_(instance), dialogs_(dialogs) {
    theHost = this;
}

Win32Host::~Win32Host() {
    if (previewBitmap_) DeleteObject(previewBitmap_);
    theHost = nullptr;
}

LRESULT CALLBACK Win32Host::windowProc(HWND window, UINT id, WPARAM wParam, LPARAM lParam) {
    if (!theHost || !theHost->procedure_) return DefWindowProcA(window, id, wParam, lParam);
    return theHost->procedure_->windowProc(handle(window), Message{id, wParam, lParam});
}

bool Win32Host::isWindow(WindowHandle window) { return IsWindow(hwnd(window)) != FALSE; }

WindowHandle Win32Host::foregroundWindow() { return handle(GetForegroundWindow()); }

void Win32Host::setForegroundWindow(WindowHandle window) { SetForegroundWindow(hwnd(window)); }

WindowHandle Win32Host::parentOf(WindowHandle window) { return handle(GetParent(hwnd(window))); }

WindowHandle Win32Host::findRunningSaver() { return handle(FindWindowA(kClassName, "Screen Saver")); }

ScreenRect Win32Host::virtualScreen() {
    return {GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
            GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN)};
}

ScreenRect Win32Host::screenClipBox() {
    RECT box = {};
    const HDC screen = GetDC(nullptr);
    GetClipBox(screen, &box);
    ReleaseDC(nullptr, screen);
    return fromRect(box);
}

ScreenRect Win32Host::clientRect(WindowHandle window) {
    RECT client = {};
    GetClientRect(hwnd(window), &client);
    return {0, 0, client.right, client.bottom};
}

WindowHandle Win32Host::createSaverWindow(const SaverWindowLayout& layout, WindowProcedure& procedure) {
    procedure_ = &procedure;
    WNDCLASSA windowClass = {};
    windowClass.style = CS_OWNDC | CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = instance_;
    windowClass.hIcon = LoadIconA(instance_, MAKEINTRESOURCEA(kClassIconId));
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    windowClass.lpszClassName = kClassName;
    if (!RegisterClassA(&windowClass)) return 0;

    const bool preview = layout.parent != 0;
    const DWORD style = preview ? WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN
                                : WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
    const DWORD extendedStyle = preview ? 0 : WS_EX_TOPMOST;
    return handle(CreateWindowExA(extendedStyle, kClassName, layout.title, style, layout.rect.left, layout.rect.top,
                                  layout.rect.width, layout.rect.height, hwnd(layout.parent), nullptr, instance_, nullptr));
}

int Win32Host::runMessageLoop() {
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    // The run is over: a window still there (its renderer could not start)
    // gets the default handling until the process ends.
    procedure_ = nullptr;
    return message.message == WM_QUIT ? static_cast<int>(message.wParam) : 0;
}

void Win32Host::postQuit(int code) { PostQuitMessage(code); }

intptr_t Win32Host::defaultWindowProc(WindowHandle window, const Message& m) {
    return DefWindowProcA(hwnd(window), m.id, m.wParam, m.lParam);
}

void Win32Host::postMessage(WindowHandle window, const Message& m) {
    PostMessageA(hwnd(window), m.id, m.wParam, m.lParam);
}

intptr_t Win32Host::sendMessage(WindowHandle window, const Message& m) {
    return SendMessageA(hwnd(window), m.id, m.wParam, m.lParam);
}

void Win32Host::removePendingTimers(WindowHandle window, int count) {
    MSG pending;
    for (int i = 0; i < count; ++i) PeekMessageA(&pending, hwnd(window), WM_TIMER, WM_TIMER, PM_REMOVE);
}

uint32_t Win32Host::registerMessage(std::string_view name) {
    return RegisterWindowMessageA(std::string(name).c_str());
}

ScreenPoint Win32Host::cursorPosition() {
    POINT p = {};
    GetCursorPos(&p);
    return {p.x, p.y};
}

void Win32Host::hideCursor() { SetCursor(nullptr); }

uint32_t Win32Host::tickCount() { return GetTickCount(); }

void Win32Host::yieldTimeSlice() { Sleep(0); }

uint8_t Win32Host::acLineStatus() {
    SYSTEM_POWER_STATUS status;
    return GetSystemPowerStatus(&status) ? status.ACLineStatus : 255;
}

int Win32Host::showConfigureDialog(WindowHandle owner) {
    return runConfigureDialog(instance_, hwnd(owner), dialogs_);
}

ScreenRect Win32Host::windowRect(WindowHandle window) {
    RECT r = {};
    GetWindowRect(hwnd(window), &r);
    return fromRect(r);
}

uint32_t Win32Host::setTimer(WindowHandle window, uint32_t id, uint32_t periodMs) {
    return static_cast<uint32_t>(SetTimer(hwnd(window), id, periodMs, nullptr));
}

void Win32Host::killTimer(WindowHandle window, uint32_t id) { KillTimer(hwnd(window), id); }

void Win32Host::loadPreviewPicture() {
    if (!previewBitmap_) previewBitmap_ = LoadBitmapA(instance_, MAKEINTRESOURCEA(kPreviewBitmapId));
}

void Win32Host::paintPreviewPicture(WindowHandle window) {
    const HDC dc = GetDC(hwnd(window));
    const RECT area = toRect(kPreviewArea);
    FillRect(dc, &area, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    if (previewBitmap_)
        DrawStateA(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(previewBitmap_), 0, kPreviewPicture.left,
                   kPreviewPicture.top, kPreviewPicture.width, kPreviewPicture.height, DST_BITMAP);
    ReleaseDC(hwnd(window), dc);
}
