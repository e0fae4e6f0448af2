// The resources lumara.scr carries, read as the system reads them, and the
// built-in texts as LoadText gives them in the system's ANSI code page.
//   resource_check SAVER.scr CODEPAGE   exit 0 when every check holds
#include <windows.h>

#include "test_program.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "i18n/load_text.h"
#include "ui/string_table.h"

namespace {

// The built-in text as LoadStringA gives it (UTF-8 through UTF-16 into the
// ANSI code page), and as LoadText does without a language file.
bool sameAsBuiltIn(HMODULE saver, const StringTableEntry& entry) {
    wchar_t wide[256];
    const int n = MultiByteToWideChar(CP_UTF8, 0, entry.text.data(), static_cast<int>(entry.text.size()), wide, 255);
    char expected[256] = {};
    WideCharToMultiByte(CP_ACP, 0, wide, n, expected, 255, nullptr, nullptr);
    char loaded[256] = {}, text[256] = {};
    LoadStringA(saver, entry.id, loaded, sizeof loaded);
    LoadText(LanguageTable(), entry.id, text, sizeof text);
    return std::strcmp(expected, loaded) == 0 && std::strcmp(expected, text) == 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::printf("usage: resource_check SAVER.scr CODEPAGE\n");
        return 2;
    }
    CHECK(GetACP() == static_cast<UINT>(std::atoi(argv[2])));  // the locale the test asked Wine for
    const HMODULE saver = LoadLibraryExA(argv[1], nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!saver) {
        std::printf("cannot open %s\n", argv[1]);
        return 1;
    }
    // The built-in music, a RIFF WAVE image.
    const HRSRC music = FindResourceA(saver, MAKEINTRESOURCEA(221), "WAVE");
    CHECK(music != nullptr);
    if (music) {
        const auto* wave = static_cast<const uint8_t*>(LockResource(LoadResource(saver, music)));
        CHECK(SizeofResource(saver, music) >= 44 && std::memcmp(wave, "RIFF", 4) == 0 &&
              std::memcmp(wave + 8, "WAVE", 4) == 0);
    }
    // The preview picture: 150 x 113, 8 bits a pixel.
    const HBITMAP preview = LoadBitmapA(saver, MAKEINTRESOURCEA(219));
    CHECK(preview != nullptr);
    BITMAP picture = {};
    CHECK(GetObjectA(preview, sizeof picture, &picture) == sizeof picture);
    CHECK(picture.bmWidth == 150 && picture.bmHeight == 113);
    // The string table: every built-in text, nothing else but string 1,
    // the name Windows' screen-saver list shows.
    for (const StringTableEntry& entry : builtInStringTable()) CHECK(sameAsBuiltIn(saver, entry));
    char none[8] = "x";
    CHECK(LoadStringA(saver, 3024, none, sizeof none) == 0);
    char listName[64] = {};
    LoadStringA(saver, 1, listName, sizeof listName);
    CHECK(std::strcmp(listName, "Lumara Screensaver") == 0);
    // A version resource and the manifest.
    CHECK(FindResourceA(saver, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(16)) != nullptr);
    const HRSRC manifest = FindResourceA(saver, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));
    CHECK(manifest != nullptr);
    if (manifest) {
        const char* text = static_cast<const char*>(LockResource(LoadResource(saver, manifest)));
        const std::string xml(text, SizeofResource(saver, manifest));
        CHECK(xml.find("<dpiAware") != std::string::npos && xml.find("PerMonitorV2") != std::string::npos);
    }
    return report();
}
