// The settings dialog from the real resources, driven through its real
// controls with their own messages, then the registry read back. The
// controllers' rules are tested with fakes (tests/dialogs); this proves the
// Windows view's wiring: one control of each kind and OK, the pages' Esc and
// Enter, a language file's texts, and a save the registry refuses (Esc and
// Enter in the dialog itself: the saver's own test, WineDialogs).
#include <windows.h>
#include <commctrl.h>
#include <sddl.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "dialogs/dialog_services.h"
#include "platform/win32/html_help_viewer.h"
#include "platform/win32/win32_dialog_view.h"
#include "settings/store_values.h"
#include "test_program.h"

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

// A key as the dialog box's loop gets it for `control` of the page holding it.
void pressInPage(int control, WPARAM key) { PostMessageA(GetDlgItem(pageWith(control), control), WM_KEYDOWN, key, 0); }

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
constexpr char kMessage[] = "Lumara Screensaver";  // the caption of the dialogs' message boxes

// Leaves everyone the right to read the saver's user key, to delete it and
// to change its rights (0x70019), but not to set a value or make a subkey.
void refuseNewValues() {
    PSECURITY_DESCRIPTOR rights = nullptr;
    ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorA("D:(A;;0x70019;;;WD)", SDDL_REVISION_1, &rights,
                                                                     nullptr));
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, kSaverKey, 0, WRITE_DAC, &key), ERROR_SUCCESS);
    EXPECT_EQ(RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, rights), ERROR_SUCCESS);
    RegCloseKey(key);
    LocalFree(rights);
}

bool programDirStored() {
    return RegGetValueA(HKEY_LOCAL_MACHINE, kSaverKey, "ProgramDir", RRF_RT_ANY, nullptr, nullptr, nullptr) ==
           ERROR_SUCCESS;
}

// Runs the settings dialog through `steps`; its result once every step ran.
int runDialog(std::vector<Step> steps) {
    script = std::move(steps);
    nextStep = 0;
    Settings settings;
    RegistryStore store;
    Win32FolderSystem folders;
    HtmlHelpViewer viewer;
    Help help(viewer, settings);
    DialogServices services{settings, store, folders, help};
    const UINT_PTR timer = SetTimer(nullptr, 0, 100, tick);
    const int result = runConfigureDialog(GetModuleHandleA(nullptr), nullptr, services);
    KillTimer(nullptr, timer);
    EXPECT_EQ(nextStep, script.size());
    return result;
}

}  // namespace

// Uses "Simple" (1000 stars), moves the roll below zero, ticks the pictures,
// chooses an anti-aliasing, adds the preset "Kept" and ends with OK.
TEST(WineSettingsDialog, EachKindOfControlEditsTheSettingsAndOkStoresThem) {
    RegDeleteTreeA(HKEY_CURRENT_USER, kSaverKey);
    const int result = runDialog({
        {kSettings,
         [](HWND d) {
             chooseRow(d, 1083, 0);
             click(d, 4010);
         }},
        {kSettings,
         [](HWND) {
             EXPECT_EQ(itemText(pageWith(4000), 4001), "1000");
             const HWND flight = pageWith(4006);
             moveTrackbar(flight, 4006, -100);
             EXPECT_EQ(itemText(flight, 4003), "-100");
             click(pageWith(1074), 1074);
             chooseCombo(pageWith(1020), 1020, 3);
             click(findDialog(kSettings), 1011);
         }},
        {"Enter name of the new preset",
         [](HWND ask) {
             SetDlgItemTextA(ask, 1037, "Kept");
             click(ask, IDOK);
         }},
        {kSettings, [](HWND d) { click(d, IDOK); }},
    });
    EXPECT_EQ(result, IDOK);
    const Settings back = storedSettings();
    EXPECT_EQ(back.StarsCount, 1000);
    EXPECT_EQ(back.RotSpeed, -100);
    EXPECT_TRUE(back.UseNUR);
    EXPECT_EQ(back.AntiAliase, 3);
    ASSERT_EQ(back.Presets.size(), 4u);
    EXPECT_EQ(back.Presets[3].Name, "Kept");
}

TEST(WineSettingsDialog, TheGermanLanguageFileTranslatesTheDialogs) {
    RegistryStore store;
    writeString(store.create(Hive::User, kProductKeyPath).get(), "Language",
                buildFile("share\\lumara\\german.lang"));
    EXPECT_EQ(runDialog({{"Einstellungen f\xFCr Lumara Screensaver",
                          [](HWND d) {
                              EXPECT_EQ(wideText(d), L"Einstellungen f\u00FCr Lumara Screensaver");
                              EXPECT_EQ(itemText(d, IDCANCEL), "Abbrechen");
                              EXPECT_EQ(itemText(d, 9), "&Hilfe");
                              EXPECT_EQ(wideText(GetDlgItem(d, 1012)), L"&L\u00F6schen");
                              EXPECT_EQ(itemText(pageWith(1052), 1052), "Anzahl der Sterne");
                              char row[64] = {};
                              SendDlgItemMessageA(pageWith(1020), 1020, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(row));
                              EXPECT_STREQ(row, "Aus");
                              click(d, IDCANCEL);
                          }}}),
              IDCANCEL);
}

// A page's keys follow the dialog's rule: Esc in an open drop-down list only
// folds it, Esc elsewhere in a page cancels, Enter in a page saves.
TEST(WineSettingsDialog, EscAndEnterInAPageCancelAndSave) {
    RegDeleteTreeA(HKEY_CURRENT_USER, kSaverKey);
    EXPECT_EQ(runDialog({{kSettings,
                          [](HWND) {
                              const HWND list = GetDlgItem(pageWith(1020), 1020);
                              SendMessageA(list, CB_SHOWDROPDOWN, TRUE, 0);
                              EXPECT_NE(SendMessageA(list, CB_GETDROPPEDSTATE, 0, 0), 0);
                              pressInPage(1020, VK_ESCAPE);
                          }},
                         {kSettings,
                          [](HWND) {
                              EXPECT_EQ(SendDlgItemMessageA(pageWith(1020), 1020, CB_GETDROPPEDSTATE, 0, 0), 0);
                              moveTrackbar(pageWith(4000), 4000, 100);
                              pressInPage(4000, VK_ESCAPE);
                          }}}),
              IDCANCEL);
    HKEY key = nullptr;
    EXPECT_NE(RegOpenKeyExA(HKEY_CURRENT_USER, kSaverKey, 0, KEY_READ, &key), ERROR_SUCCESS) << "nothing stored";

    EXPECT_EQ(runDialog({{kSettings,
                          [](HWND) {
                              moveTrackbar(pageWith(4000), 4000, 2500);
                              pressInPage(4000, VK_RETURN);
                          }}}),
              IDOK);
    EXPECT_EQ(storedSettings().StarsCount, 2500);
}

// The user key stops taking values while the dialog is open: OK says the
// save failed, Cancel then ends the dialog, and neither the user's key nor
// the machine's was written. Once the key takes values again, OK writes both.
TEST(WineSettingsDialog, ASaveTheUserKeyRefusesWritesNothing) {
    RegDeleteTreeA(HKEY_CURRENT_USER, kSaverKey);
    RegistryStore store;
    Settings before = storedSettings();
    ASSERT_TRUE(SaveSettings(before, store).ok());
    RegDeleteKeyValueA(HKEY_LOCAL_MACHINE, kSaverKey, "ProgramDir");
    ASSERT_FALSE(programDirStored());
    EXPECT_EQ(runDialog({{kSettings,
                          [](HWND d) {
                              refuseNewValues();
                              moveTrackbar(pageWith(4000), 4000, 2500);
                              click(d, IDOK);
                          }},
                         {kMessage, [](HWND box) { click(box, IDOK); }},
                         {kSettings, [](HWND d) { click(d, IDCANCEL); }}}),
              IDCANCEL);
    EXPECT_EQ(storedSettings().StarsCount, before.StarsCount);
    EXPECT_FALSE(programDirStored());

    ASSERT_EQ(RegDeleteTreeA(HKEY_CURRENT_USER, kSaverKey), ERROR_SUCCESS);
    EXPECT_EQ(runDialog({{kSettings, [](HWND d) { click(d, IDOK); }}}), IDOK);
    EXPECT_TRUE(programDirStored());
}
