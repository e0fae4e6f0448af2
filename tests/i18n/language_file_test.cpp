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

// What a file's lines yield: its description, texts by id (absent ones
// empty) and the size of the table.
TEST(LanguageFile, ReadsHeaderAndEntries) {
    struct Case {
        const char* behaviour;
        std::string file;
        std::string description;
        std::map<uint32_t, std::string> texts;
        size_t count = 0;  // 0: not checked
    };
    const Case cases[] = {
        {"blanks after \"=\" belong to the text", "Deutsch\r\nTahoma,8,0\r\n3055=Aus\r\n  223 =Titel = mit = \r\n1=OK",
         "Deutsch", {{3055, "Aus"}, {223, "Titel = mit = "}, {1, "OK"}, {2, ""}, {0xFFFFFFFFu, ""}}, 3056},
        {"the later entry wins and an empty text means none", "x\n\n3060=one\n3060=two\n3055=", "x",
         {{3060, "two"}, {3055, ""}}},
        {"ids are read like decimal numbers", "x\n\n+5=plus\nabc=zero\n -0=minus zero\n12x=twelve", "x",
         {{5, "plus"}, {0, "minus zero"}, {12, "twelve"}}},
        {"ids the program never uses are skipped",
         "x\n\n-1=neg\n65536=big\n99999999999999999999=huge\n65535=last\n7=kept", "x", {{65535, "last"}, {7, "kept"}},
         65536},
        {"a lone carriage return stays in the text", "x\n\n1=a\rb\n2=c\r", "x", {{1, "a\rb"}, {2, "c\r"}}},
        {"Windows-1252 files are converted", "Fran\xE7" "ais\n\n3026=Par d\xE9" "faut \x96 x\n1=\x80",
         "Fran\u00e7ais", {{3026, "Par d\u00e9faut \u2013 x"}, {1, "\u20ac"}}},
        {"UTF-8 is kept as it is", "Fran\u00e7ais\n\n3026=\u00e9 \u2013 x", "Fran\u00e7ais",
         {{3026, "\u00e9 \u2013 x"}}},
        {"one invalid line makes the whole file Windows-1252", "\xC3\xA9\n\n1=\xE9", "\u00c3\u00a9", {{1, "\u00e9"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.behaviour);
        const Loaded r = read(c.file);
        ASSERT_TRUE(r.outcome.ok());
        EXPECT_EQ(r.table.description, c.description);
        for (const auto& [id, text] : c.texts) EXPECT_EQ(LookupText(r.table, id), text) << id;
        if (c.count) {
            EXPECT_EQ(r.table.count(), c.count);
        }
    }
    EXPECT_EQ(read("Deutsch\r\nTahoma,8,0\r\n1=OK").table.popupFont, "Tahoma,8,0");
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
