#include "platform/win32/html_help_viewer.h"

namespace {

constexpr char kViewerClassKey[] = "CLSID\\{ADB880A6-D8FF-11CF-9377-00AA003B7A11}\\InprocServer32";
constexpr DWORD kPathLimit = 260;
constexpr WORD kEntryOrdinal = 14;  // HtmlHelpA

constexpr UINT kDisplayTopic = 0;
constexpr UINT kDisplayTextPopup = 14;
constexpr UINT kInitialize = 28;
constexpr UINT kUninitialize = 29;

// The viewer's pop-up description: 52 bytes in 32-bit code.
struct PopupRecord {
    int size;
    HINSTANCE instance;
    UINT stringId;
    LPCSTR text;
    POINT position;
    COLORREF foreground;
    COLORREF background;
    RECT margins;
    LPCSTR font;
};
static_assert(sizeof(void*) != 4 || sizeof(PopupRecord) == 52);

}  // namespace

std::string HtmlHelpViewer::registeredLibrary() {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, kViewerClassKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return {};
    char path[kPathLimit + 1] = {};
    DWORD size = kPathLimit;
    const LONG read = RegQueryValueExA(key, nullptr, nullptr, nullptr, reinterpret_cast<BYTE*>(path), &size);
    RegCloseKey(key);
    return read == ERROR_SUCCESS ? std::string(path) : std::string();
}

bool HtmlHelpViewer::loadLibrary(const std::string& pathOrName) {
    library_ = LoadLibraryA(pathOrName.c_str());
    return library_ != nullptr;
}

bool HtmlHelpViewer::findEntryPoint() {
    entry_ = reinterpret_cast<Entry>(reinterpret_cast<void*>(GetProcAddress(library_, MAKEINTRESOURCEA(kEntryOrdinal))));
    return entry_ != nullptr;
}

intptr_t HtmlHelpViewer::call(HWND owner, const char* file, UINT command, DWORD_PTR data) {
    return entry_ ? reinterpret_cast<intptr_t>(entry_(owner, file, command, data)) : 0;
}

intptr_t HtmlHelpViewer::displayTopic(WindowHandle owner, const std::string& fileAndTopic) {
    return call(reinterpret_cast<HWND>(owner), fileAndTopic.c_str(), kDisplayTopic, 0);
}

intptr_t HtmlHelpViewer::displayTextPopup(WindowHandle control, const std::string& file, const HelpPopup& popup) {
    PopupRecord record = {};
    record.size = sizeof record;
    record.stringId = popup.topic;
    record.position = {-1, -1};
    record.foreground = record.background = static_cast<COLORREF>(-1);
    record.margins = {-1, -1, -1, -1};
    record.font = popup.font.empty() ? nullptr : popup.font.c_str();
    return call(reinterpret_cast<HWND>(control), file.c_str(), kDisplayTextPopup, reinterpret_cast<DWORD_PTR>(&record));
}

intptr_t HtmlHelpViewer::initialize(uint32_t& cookie) {
    DWORD_PTR value = 0;
    const intptr_t result = call(nullptr, nullptr, kInitialize, reinterpret_cast<DWORD_PTR>(&value));
    cookie = static_cast<uint32_t>(value);
    return result;
}

intptr_t HtmlHelpViewer::uninitialize(uint32_t cookie) { return call(nullptr, nullptr, kUninitialize, cookie); }
