#include <gtest/gtest.h>

#include <map>
#include <optional>

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

// What a file's lines yield: whether it reads, its description and pop-up
// font (kept when a later line fails), texts by id (absent ones empty) and
// the size of the table.
TEST(LanguageFile, ReadsHeaderAndEntries) {
    struct Case {
        const char* behaviour;
        std::string file;
        bool ok = true;
        std::string description;
        std::map<uint32_t, std::string> texts = {};
        std::optional<size_t> count = {};
        std::optional<std::string> font = {};
    };
    const std::string limit(1999, 'a');
    const Case cases[] = {
        {"blanks after \"=\" belong to the text", "Deutsch\r\nTahoma,8,0\r\n3055=Aus\r\n  223 =Titel = mit = \r\n1=OK",
         true, "Deutsch", {{3055, "Aus"}, {223, "Titel = mit = "}, {1, "OK"}, {2, ""}, {0xFFFFFFFFu, ""}}, 3056,
         "Tahoma,8,0"},
        {"the later entry wins and an empty text means none", "x\n\n3060=one\n3060=two\n3055=", true, "x",
         {{3060, "two"}, {3055, ""}}},
        {"ids are read like decimal numbers", "x\n\n+5=plus\nabc=zero\n -0=minus zero\n12x=twelve", true, "x",
         {{5, "plus"}, {0, "minus zero"}, {12, "twelve"}}},
        {"ids the program never uses are skipped",
         "x\n\n-1=neg\n65536=big\n99999999999999999999=huge\n65535=last\n7=kept", true, "x",
         {{65535, "last"}, {7, "kept"}}, 65536},
        {"a lone carriage return stays in the text", "x\n\n1=a\rb\n2=c\r", true, "x", {{1, "a\rb"}, {2, "c\r"}}},
        {"Windows-1252 files are converted", "Fran\xE7" "ais\n\n3026=Par d\xE9" "faut \x96 x\n1=\x80", true,
         "Fran\u00e7ais", {{3026, "Par d\u00e9faut \u2013 x"}, {1, "\u20ac"}}},
        {"UTF-8 is kept as it is", "Fran\u00e7ais\n\n3026=\u00e9 \u2013 x", true, "Fran\u00e7ais",
         {{3026, "\u00e9 \u2013 x"}}},
        {"one invalid line makes the whole file Windows-1252", "\xC3\xA9\n\n1=\xE9", true, "\u00c3\u00a9",
         {{1, "\u00e9"}}},
        {"an empty file", "", true, "", {}, 0},
        {"a name alone", "Name", true, "Name", {}, 0},
        {"a header alone", "Name\nFont", true, "Name", {}, 0, "Font"},
        {"a header and its line break", "Name\nFont\n", true, "Name", {}, 0, "Font"},
        // Strictly a file ends with its last entry; the one line break an
        // editor adds is accepted, as rejecting the file would silently lose
        // the whole translation. A second one is an empty line.
        {"one final line break", "x\n\n1=a\n", true, "x", {{1, "a"}}},
        {"one final CR LF", "x\r\n\r\n1=a\r\n", true, "x", {{1, "a"}}},
        {"an empty line at the end", "x\n\n1=a\n\n", false, "x"},
        {"an empty line between entries", "x\n\n1=a\n\n2=b", false, "x"},
        {"a comment line", "x\n\n; note\n1=a", false, "x"},
        {"a line of blanks", "x\n\n1=a\n \n", false, "x"},
        {"a line that is no entry keeps the header", "Name\nArial,9,0\n1=a\nbroken", false, "Name", {}, {},
         "Arial,9,0"},
        {"1999 characters at the end", "x\n\n1=" + limit.substr(2), true, "x"},
        {"CR not counted in the limit", "x\n\n1=" + limit.substr(2) + "\r\n2=b", true, "x", {{2, "b"}}},
        {"2000 characters", "x\n\n1=" + limit.substr(1) + "\n2=b", false, "x"},
        {"a name of 2000 characters", limit + "z\nfont\n1=a", false, limit},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.behaviour);
        const Loaded r = read(c.file);
        ASSERT_EQ(r.outcome.ok(), c.ok);
        if (!c.ok) { EXPECT_EQ(r.outcome.message(), "Error reading language file. Text description not found."); }
        EXPECT_EQ(r.table.description, c.description);
        for (const auto& [id, text] : c.texts) EXPECT_EQ(LookupText(r.table, id), text) << id;
        if (c.count) { EXPECT_EQ(r.table.count(), *c.count); }
        if (c.font) { EXPECT_EQ(r.table.popupFont, *c.font); }
    }
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
