#include <gtest/gtest.h>

#include <cstring>

#include "i18n/load_text.h"
#include "i18n/text_encoding.h"
#include "ui/string_table.h"

// Language text first, then the built-in one, cut to the dialog's buffer:
// TranslateDialog.OneTextPerIdAppliesInEveryDialogCutToItsBufferAndPagesTranslateThemselves.
TEST(LoadText, AnEmptyTextFallsBackAndAnUnknownIdGivesNothing) {
    LanguageTable table;
    char buffer[100];
    EXPECT_STREQ((LoadText(table, 3026, buffer, sizeof buffer), buffer), "Default \u2013 \"Durodi vudav\"");
    ASSERT_TRUE(StoreText(table, 3064, "").ok());
    EXPECT_EQ(LoadText(table, 3064, buffer, sizeof buffer), 4u);
    EXPECT_STREQ(buffer, "none");
    EXPECT_EQ(LoadText(table, 4242, buffer, sizeof buffer), 0u);
    EXPECT_STREQ(buffer, "");
}

TEST(LoadText, CutsToTheBufferAndNeverWritesPastIt) {
    LanguageTable table;
    ASSERT_TRUE(StoreText(table, 1, std::string(60, 'x')).ok());
    ASSERT_TRUE(StoreText(table, 2, std::string(50, 'y')).ok());
    char buffer[51];
    std::memset(buffer, '#', sizeof buffer);
    EXPECT_EQ(LoadText(table, 1, buffer, 50), 49u);
    EXPECT_EQ(std::strlen(buffer), 49u);
    EXPECT_EQ(buffer[50], '#');
    EXPECT_EQ(LoadText(table, 2, buffer, 50), 49u);
    EXPECT_EQ(LoadText(table, 3064, buffer, 3), 2u);  // built-in texts are cut too
    EXPECT_STREQ(buffer, "no");
    EXPECT_EQ(LoadText(table, 1, buffer, 1), 0u);
    EXPECT_EQ(LoadText(table, 1, buffer, 0), 0u);
}

TEST(LoadText, CutDoesNotSplitACharacter) {
    LanguageTable table;
    ASSERT_TRUE(StoreText(table, 1, "ab\u2013c").ok());  // the dash is three bytes
    char buffer[8];
    const size_t n = LoadText(table, 1, buffer, 4);
    if (kInterfaceTextIsUtf8) {
        EXPECT_EQ(n, 2u);
        EXPECT_STREQ(buffer, "ab");
    } else {
        EXPECT_EQ(n, 3u);
    }
    EXPECT_EQ(LoadText(table, 1, buffer, 6), 5u);
}

// Which ids the program uses: ShippedLanguages.EveryFileCoversEveryIdTheProgramUsesAndNoOther.
TEST(StringTable, EveryTextIsUtf8) {
    for (const StringTableEntry& e : builtInStringTable()) EXPECT_TRUE(!e.text.empty() && isValidUtf8(e.text)) << e.id;
}

TEST(TextEncoding, Utf8ValidationRejectsMalformedSequences) {
    EXPECT_TRUE(isValidUtf8("plain \u00e9\u2013\U0001F600"));
    for (const char* bad : {"\xE9", "\xC0\xAF", "\xE2\x80", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\x80"})
        EXPECT_FALSE(isValidUtf8(bad)) << bad;
}

// Windows-1252, the code page of the shipped language files and of typed
// preset names, holds every text of the built-in table.
TEST(TextEncoding, Utf8ToWindows1252IsTheInverseForEveryTextTheTableHolds) {
    for (const StringTableEntry& entry : builtInStringTable())
        EXPECT_EQ(windows1252ToUtf8(utf8ToWindows1252(entry.text)), entry.text) << entry.id;
    EXPECT_EQ(utf8ToWindows1252("Sharp \u2013 f\u00FCr \u20AC"), "Sharp \x96 f\xFCr \x80");
    EXPECT_EQ(utf8ToWindows1252("\u4E2D"), "?");
}
