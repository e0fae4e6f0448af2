#include <gtest/gtest.h>

#include <map>

#include "i18n/language_file.h"

namespace {

// Files by path, as the platform's reader would return them.
class MemoryFiles final : public FileReader {
public:
    std::map<std::string, std::string> files;
    std::map<std::string, FileReadResult> failures;

    FileReadResult readFile(const std::string& path, size_t limit, std::string& out) override {
        if (const auto failure = failures.find(path); failure != failures.end()) return failure->second;
        const auto file = files.find(path);
        if (file == files.end()) return FileReadResult::Absent;
        if (file->second.size() > limit) return FileReadResult::TooLarge;
        out = file->second;
        return FileReadResult::Read;
    }
};

struct Loaded {
    LanguageTable table;
    Outcome outcome;
};

Loaded read(const std::string& bytes) {
    Loaded r;
    r.outcome = ReadLanguageText(r.table, bytes);
    return r;
}

}  // namespace

TEST(LanguageFile, ReadsHeaderAndEntries) {
    const Loaded r = read("Deutsch\r\nTahoma,8,0\r\n3055=Aus\r\n  223 =Titel = mit = \r\n1=OK");
    ASSERT_TRUE(r.outcome.ok());
    EXPECT_EQ(r.table.description, "Deutsch");
    EXPECT_EQ(r.table.popupFont, "Tahoma,8,0");
    EXPECT_EQ(LookupText(r.table, 3055), "Aus");
    EXPECT_EQ(LookupText(r.table, 223), "Titel = mit = ");  // blanks after "=" belong to the text
    EXPECT_EQ(LookupText(r.table, 1), "OK");
    EXPECT_EQ(r.table.count(), 3056u);
    EXPECT_EQ(LookupText(r.table, 2), "");
    EXPECT_EQ(LookupText(r.table, 0xFFFFFFFFu), "");
}

TEST(LanguageFile, LaterEntryWinsAndEmptyTextMeansNone) {
    const Loaded r = read("x\n\n3060=one\n3060=two\n3055=");
    ASSERT_TRUE(r.outcome.ok());
    EXPECT_EQ(LookupText(r.table, 3060), "two");
    EXPECT_EQ(LookupText(r.table, 3055), "");
}

TEST(LanguageFile, IdsAreReadLikeDecimalNumbers) {
    const Loaded r = read("x\n\n+5=plus\nabc=zero\n -0=minus zero\n12x=twelve");
    ASSERT_TRUE(r.outcome.ok());
    EXPECT_EQ(LookupText(r.table, 5), "plus");
    EXPECT_EQ(LookupText(r.table, 0), "minus zero");
    EXPECT_EQ(LookupText(r.table, 12), "twelve");
}

TEST(LanguageFile, IdsTheProgramNeverUsesAreSkipped) {
    const Loaded r = read("x\n\n-1=neg\n65536=big\n99999999999999999999=huge\n65535=last\n7=kept");
    ASSERT_TRUE(r.outcome.ok());
    EXPECT_EQ(r.table.count(), 65536u);
    EXPECT_EQ(LookupText(r.table, 65535), "last");
    EXPECT_EQ(LookupText(r.table, 7), "kept");
}

TEST(LanguageFile, HeaderOnlyAndEmptyFilesAreAccepted) {
    for (const char* text : {"", "Name", "Name\nFont", "Name\n", "Name\nFont\n"}) {
        const Loaded r = read(text);
        EXPECT_TRUE(r.outcome.ok()) << text;
        EXPECT_EQ(r.table.count(), 0u);
    }
    EXPECT_EQ(read("").table.description, "");
    EXPECT_EQ(read("Name\nFont").table.popupFont, "Font");
}

TEST(LanguageFile, OneFinalLineBreakIsAcceptedButNotEmptyOrCommentLines) {
    EXPECT_TRUE(read("x\n\n1=a\n").outcome.ok());
    EXPECT_TRUE(read("x\r\n\r\n1=a\r\n").outcome.ok());
    for (const char* bad : {"x\n\n1=a\n\n", "x\n\n1=a\n\n2=b", "x\n\n; note\n1=a", "x\n\n1=a\n \n"}) {
        const Loaded r = read(bad);
        ASSERT_FALSE(r.outcome.ok()) << bad;
        EXPECT_EQ(r.outcome.message(), "Error reading language file. Text description not found.");
    }
}

TEST(LanguageFile, FailureKeepsTheHeaderItRead) {
    const Loaded r = read("Name\nArial,9,0\n1=a\nbroken");
    ASSERT_FALSE(r.outcome.ok());
    EXPECT_EQ(r.table.description, "Name");
    EXPECT_EQ(r.table.popupFont, "Arial,9,0");
}

TEST(LanguageFile, LinesLongerThanTheLimitFailTheFile) {
    const std::string limit(1999, 'a');
    EXPECT_TRUE(read("x\n\n1=" + limit.substr(2)).outcome.ok());           // 1999 characters at the end
    EXPECT_TRUE(read("x\n\n1=" + limit.substr(2) + "\r\n2=b").outcome.ok());  // CR not counted
    const Loaded r = read("x\n\n1=" + limit.substr(1) + "\n2=b");      // 2000 characters
    ASSERT_FALSE(r.outcome.ok());
    EXPECT_EQ(r.outcome.message(), "Error reading language file. Text description not found.");
    const Loaded longName = read(limit + "z\nfont\n1=a");
    ASSERT_FALSE(longName.outcome.ok());
    EXPECT_EQ(longName.table.description, limit);
}

TEST(LanguageFile, LoneCarriageReturnStaysInTheText) {
    const Loaded r = read("x\n\n1=a\rb\n2=c\r");
    ASSERT_TRUE(r.outcome.ok());
    EXPECT_EQ(LookupText(r.table, 1), "a\rb");
    EXPECT_EQ(LookupText(r.table, 2), "c\r");
}

TEST(LanguageFile, Windows1252FilesAreConvertedAndUtf8KeptAsIs) {
    const Loaded cp1252 = read("Fran\xE7" "ais\n\n3026=Par d\xE9" "faut \x96 x\n1=\x80");
    ASSERT_TRUE(cp1252.outcome.ok());
    EXPECT_EQ(cp1252.table.description, "Fran\u00e7ais");
    EXPECT_EQ(LookupText(cp1252.table, 3026), "Par d\u00e9faut \u2013 x");
    EXPECT_EQ(LookupText(cp1252.table, 1), "\u20ac");

    const Loaded utf8 = read("Fran\u00e7ais\n\n3026=\u00e9 \u2013 x");
    EXPECT_EQ(utf8.table.description, "Fran\u00e7ais");
    EXPECT_EQ(LookupText(utf8.table, 3026), "\u00e9 \u2013 x");

    // One invalid line makes the whole file Windows-1252, earlier lines too.
    const Loaded mixed = read("\xC3\xA9\n\n1=\xE9");
    EXPECT_EQ(mixed.table.description, "\u00c3\u00a9");
}

TEST(LanguageFile, FileThatCannotBeOpenedChangesNothing) {
    MemoryFiles files;
    files.failures["/x/pipe.lang"] = FileReadResult::Unreadable;
    files.failures["/x/huge.lang"] = FileReadResult::TooLarge;
    for (const char* path : {"/x/missing.lang", "/x/pipe.lang", "/x/huge.lang"}) {
        LanguageTable table;
        table.path = path;
        table.texts = {"kept"};
        EXPECT_EQ(LoadLanguageFile(table, files).message(), "Error loading language file. File cannot be opened.")
            << path;
        EXPECT_EQ(table.description, "default");
        EXPECT_EQ(table.count(), 1u);
    }
}

TEST(LanguageFile, LoadsFromAFileAndReplacesEarlierTexts) {
    MemoryFiles files;
    files.files["/x/test.lang"] = "Test\nFont\n10=ten";
    LanguageTable table;
    table.path = "/x/test.lang";
    ASSERT_TRUE(StoreText(table, 500, "old").ok());
    ASSERT_TRUE(LoadLanguageFile(table, files).ok());
    EXPECT_EQ(table.count(), 11u);
    EXPECT_EQ(LookupText(table, 10), "ten");
    EXPECT_EQ(LookupText(table, 500), "");
}
