// The resources lumara.scr carries, read as the system reads them, and the
// built-in texts as LoadText gives them in the system's ANSI code page.
#include <windows.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "i18n/load_text.h"
#include "test_program.h"
#include "ui/string_table.h"

namespace {

// The built-in text as LoadStringA gives it: UTF-8 through UTF-16 into the
// ANSI code page.
std::string asLoaded(std::string_view text) {
    wchar_t wide[256];
    const int n = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide, 255);
    char ansi[256] = {};
    WideCharToMultiByte(CP_ACP, 0, wide, n, ansi, 255, nullptr, nullptr);
    return ansi;
}

std::string loadedString(HMODULE saver, UINT id) {
    char loaded[256] = {};
    LoadStringA(saver, id, loaded, sizeof loaded);
    return loaded;
}

}  // namespace

TEST(SaverResources, MusicPreviewStringsVersionAndManifest) {
    const HMODULE saver = LoadLibraryExA(buildFile("bin\\lumara.scr").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(saver, nullptr);
    // The built-in music, a RIFF WAVE image.
    const HRSRC music = FindResourceA(saver, MAKEINTRESOURCEA(221), "WAVE");
    ASSERT_NE(music, nullptr);
    const auto* wave = static_cast<const uint8_t*>(LockResource(LoadResource(saver, music)));
    EXPECT_TRUE(SizeofResource(saver, music) >= 44 && std::memcmp(wave, "RIFF", 4) == 0 &&
                std::memcmp(wave + 8, "WAVE", 4) == 0);
    // The preview picture: 150 x 113, 8 bits a pixel.
    BITMAP picture = {};
    EXPECT_EQ(GetObjectA(LoadBitmapA(saver, MAKEINTRESOURCEA(219)), sizeof picture, &picture), sizeof picture);
    EXPECT_EQ(picture.bmWidth, 150);
    EXPECT_EQ(picture.bmHeight, 113);
    // The string table: every built-in text, nothing else but string 1,
    // the name Windows' screen-saver list shows.
    for (const StringTableEntry& entry : builtInStringTable())
        EXPECT_EQ(loadedString(saver, entry.id), asLoaded(entry.text)) << entry.id;
    EXPECT_EQ(loadedString(saver, 3024), "");
    EXPECT_EQ(loadedString(saver, 1), "Lumara Screensaver");
    // A version resource and the manifest.
    EXPECT_NE(FindResourceA(saver, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(16)), nullptr);
    const HRSRC manifest = FindResourceA(saver, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));
    ASSERT_NE(manifest, nullptr);
    const std::string xml(static_cast<const char*>(LockResource(LoadResource(saver, manifest))),
                          SizeofResource(saver, manifest));
    EXPECT_NE(xml.find("<dpiAware"), std::string::npos);
    EXPECT_NE(xml.find("PerMonitorV2"), std::string::npos);
}

// CTest runs this case in Wine's default locale and again in a Chinese one:
// LUMARA_CODE_PAGE names the code page it asked Wine for (1252 when unset).
TEST(BuiltInTexts, ComeInTheSystemsAnsiCodePage) {
    const char* asked = std::getenv("LUMARA_CODE_PAGE");
    EXPECT_EQ(GetACP(), static_cast<UINT>(asked ? std::atoi(asked) : 1252));
    for (const StringTableEntry& entry : builtInStringTable()) {
        char text[256] = {};
        LoadText(LanguageTable(), entry.id, text, sizeof text);
        EXPECT_EQ(std::string(text), asLoaded(entry.text)) << entry.id;
    }
}
