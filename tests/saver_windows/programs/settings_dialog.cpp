// The settings dialog from the real resources, driven through its real
// controls with their own messages, then the registry read back.
//   settings_dialog drive          moves, selections, clicks, presets, OK
//   settings_dialog cancel         a change, then Cancel: nothing stored
//   settings_dialog page-esc       Esc in a page's open drop-down list folds
//                                  it; then a change, Esc in a page: nothing
//                                  stored
//   settings_dialog page-enter     a change, Enter in a page: stored
//   settings_dialog german FILE    with FILE as the language: German texts
// Exit 0 when every check holds.
#include <windows.h>
#include <commctrl.h>

#include "test_program.h"

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "dialogs/dialog_services.h"
#include "platform/win32/html_help_viewer.h"
#include "platform/win32/registry_store.h"
#include "platform/win32/win32_dialog_view.h"
#include "platform/win32/win32_folder_system.h"
#include "settings/settings_store.h"
#include "settings/store_values.h"

namespace {

HWND findDialog(const char* caption) { return FindWindowA("#32770", caption); }

struct PageSearch {
    int id;
    HWND found;
};

// Stdcall on 32-bit Windows, which a lambda cannot be.
BOOL CALLBACK checkPage(HWND w, LPARAM p) {
    auto* s = reinterpret_cast<PageSearch*>(p);
    if (GetDlgItem(w, s->id) && GetWindow(w, GW_OWNER)) s->found = w;
    return s->found == nullptr;
}

// The page of the settings dialog that holds control `id`.
HWND pageWith(int id) {
    PageSearch search = {id, nullptr};
    EnumThreadWindows(GetCurrentThreadId(), checkPage, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::string itemText(HWND dialog, int id) {
    char text[512] = {};
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}

std::wstring wideText(HWND window) {
    wchar_t text[512] = {};
    GetWindowTextW(window, text, 512);
    return text;
}

// What a user does, as the controls report it.
void moveTrackbar(HWND page, int id, int position) {
    const HWND bar = GetDlgItem(page, id);
    SendMessageA(bar, TBM_SETPOS, TRUE, position);
    SendMessageA(page, WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, position), reinterpret_cast<LPARAM>(bar));
}
void chooseCombo(HWND page, int id, int row) {
    SendDlgItemMessageA(page, id, CB_SETCURSEL, row, 0);
    SendMessageA(page, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(GetDlgItem(page, id)));
}
void chooseRow(HWND dialog, int id, int row) {
    SendDlgItemMessageA(dialog, id, LB_SETCURSEL, row, 0);
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, LBN_SELCHANGE), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}
// Posted, so a modal dialog it opens runs in the dialog's own loop.
void click(HWND dialog, int id) { PostMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }

// One step per timer tick, each once the window it needs is there.
struct Step {
    const char* waitFor;  // the caption of the dialog the step works in
    std::function<void(HWND)> run;
};
std::vector<Step> script;
size_t nextStep = 0;

void CALLBACK tick(HWND, UINT, UINT_PTR, DWORD) {
    if (nextStep >= script.size()) return;
    const HWND dialog = findDialog(script[nextStep].waitFor);
    if (!dialog || !IsWindowVisible(dialog)) return;
    script[nextStep++].run(dialog);
}

constexpr char kSettings[] = "Lumara Screensaver settings";
constexpr char kNewPreset[] = "Enter name of the new preset";

void addPreset(const char* name) {
    script.push_back({kSettings, [](HWND d) { click(d, 1011); }});
    script.push_back({kNewPreset, [name](HWND ask) {
                          SetDlgItemTextA(ask, 1037, name);
                          click(ask, IDOK);
                      }});
}

// Uses "Simple" (1000 stars), changes a control of each kind, adds a
// preset and deletes it, adds "Kept", and ends with OK.
void driveScript() {
    script.push_back({kSettings, [](HWND d) {
                          chooseRow(d, 1083, 0);
                          click(d, 4010);
                      }});
    script.push_back({kSettings, [](HWND) {
                          const HWND stars = pageWith(4000);
                          CHECK(stars != nullptr);
                          CHECK(itemText(stars, 4001) == "1000");
                          moveTrackbar(stars, 4000, 9000);
                          CHECK(itemText(stars, 4001) == "9000");
                          click(stars, 1074);
                          moveTrackbar(pageWith(4006), 4006, -100);
                          const HWND effects = pageWith(1020);
                          chooseCombo(effects, 1020, 3);
                          chooseCombo(effects, 1021, 1);  // the built-in music
                      }});
    addPreset("Wine preset");
    script.push_back({kSettings, [](HWND d) {
                          chooseRow(d, 1083, 3);
                          click(d, 1012);
                      }});
    addPreset("Kept");
    script.push_back({kSettings, [](HWND d) { click(d, IDOK); }});
}

void cancelScript() {
    script.push_back({kSettings, [](HWND) { moveTrackbar(pageWith(4000), 4000, 100); }});
    script.push_back({kSettings, [](HWND d) { click(d, IDCANCEL); }});
}

// A key as the dialog box's loop gets it for `control` of the page holding it.
void pressInPage(int control, WPARAM key) { PostMessageA(GetDlgItem(pageWith(control), control), WM_KEYDOWN, key, 0); }

void pageEscScript() {
    script.push_back({kSettings, [](HWND) {
                          const HWND list = GetDlgItem(pageWith(1020), 1020);
                          SendMessageA(list, CB_SHOWDROPDOWN, TRUE, 0);
                          CHECK(SendMessageA(list, CB_GETDROPPEDSTATE, 0, 0) != 0);
                          pressInPage(1020, VK_ESCAPE);
                      }});
    script.push_back({kSettings, [](HWND) {
                          CHECK(SendDlgItemMessageA(pageWith(1020), 1020, CB_GETDROPPEDSTATE, 0, 0) == 0);
                          moveTrackbar(pageWith(4000), 4000, 100);
                          pressInPage(4000, VK_ESCAPE);
                      }});
}

void pageEnterScript() {
    script.push_back({kSettings, [](HWND) {
                          moveTrackbar(pageWith(4000), 4000, 2500);
                          pressInPage(4000, VK_RETURN);
                      }});
}

void germanScript() {
    script.push_back({"Einstellungen f\xFCr Lumara Screensaver", [](HWND d) {
                          CHECK(wideText(d) == L"Einstellungen f\u00FCr Lumara Screensaver");
                          CHECK(itemText(d, IDCANCEL) == "Abbrechen");
                          CHECK(itemText(d, 9) == "&Hilfe");
                          CHECK(wideText(GetDlgItem(d, 1012)) == L"&L\u00F6schen");
                          CHECK(itemText(pageWith(1052), 1052) == "Anzahl der Sterne");
                          const HWND effects = pageWith(1020);
                          char row[64] = {};
                          SendDlgItemMessageA(effects, 1020, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(row));
                          CHECK(std::strcmp(row, "Aus") == 0);
                          click(d, IDCANCEL);
                      }});
}

}  // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "drive") {
        RegDeleteTreeA(HKEY_CURRENT_USER, kSaverKey);
        driveScript();
    } else if (mode == "cancel") {
        cancelScript();
    } else if (mode == "page-esc") {
        pageEscScript();
    } else if (mode == "page-enter") {
        pageEnterScript();
    } else if (mode == "german" && argc == 3) {
        RegistryStore languageStore;
        writeString(languageStore.create(Hive::User, kProductKeyPath).get(), "Language", argv[2]);
        germanScript();
    } else {
        std::printf("usage: settings_dialog drive | cancel | page-esc | page-enter | german FILE\n");
        return 2;
    }
    Settings settings;
    RegistryStore store;
    Win32FolderSystem folders;
    HtmlHelpViewer viewer;
    Help help(viewer, settings);
    DialogServices services{settings, store, folders, help};
    SetTimer(nullptr, 0, 100, tick);
    const int result = runConfigureDialog(GetModuleHandleA(nullptr), nullptr, services);
    CHECK(nextStep == script.size());

    const HKEY key = openUserKey();
    if (mode == "drive") {
        CHECK(result == IDOK);
        CHECK(storedNumber(key, "StarsCount") == 9000);
        CHECK(static_cast<int32_t>(storedNumber(key, "RotSpeed")) == -100);
        CHECK(storedNumber(key, "AntiAliase") == 3);
        CHECK(storedNumber(key, "UseNUR") == 1);
        CHECK(storedText(key, "BackSound") == "D");
        CHECK(storedText(key, "PRESETn3") == "Kept");
        CHECK(storedText(key, "PRESETn4") == "(none)");
    } else if (mode == "cancel" || mode == "page-esc") {
        CHECK(result == IDCANCEL);
        CHECK(storedNumber(key, "StarsCount") == 9000);  // as the drive left it
    } else if (mode == "page-enter") {
        CHECK(result == IDOK);
        CHECK(storedNumber(key, "StarsCount") == 2500);
    } else {
        CHECK(result == IDCANCEL);
    }
    RegCloseKey(key);
    return report();
}
