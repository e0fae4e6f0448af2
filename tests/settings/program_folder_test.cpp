#include <gtest/gtest.h>

#include "settings/settings_store.h"
#include "store_fakes.h"

TEST(ProgramFolder, RecordedFolderIsUsedUnchangedAndNotCreated) {
    MemoryStore store;
    FakeFolders folders;
    writeString(&store.key(Hive::Machine), "ProgramDir", "D:\\Gone");
    Settings s;
    LoadSettings(s, store, folders);
    EXPECT_EQ(s.ProgramDir, "D:\\Gone");
    EXPECT_TRUE(folders.created.empty());
    EXPECT_TRUE(s.LanguageFiles.empty());
    EXPECT_TRUE(s.HelpFiles.empty());
}

TEST(ProgramFolder, MissingRecordDerivesAndCreatesBothLevels) {
    MemoryStore store;
    store.key(Hive::Machine);  // key present, no value; then a value of another type
    for (const bool numberRecord : {false, true}) {
        SCOPED_TRACE(numberRecord);
        if (numberRecord) writeNumber(&store.key(Hive::Machine), "ProgramDir", 5);
        FakeFolders folders;
        Settings s;
        LoadSettings(s, store, folders);
        EXPECT_EQ(s.ProgramDir, "C:\\Program Files\\Orvanta\\Lumara Screensaver");
        EXPECT_EQ(folders.created, (std::vector<std::string>{"C:\\Program Files\\Orvanta",
                                                             "C:\\Program Files\\Orvanta\\Lumara Screensaver"}));
    }

    FakeFolders noVariable;
    noVariable.programFiles.reset();
    Settings t;
    LoadSettings(t, store, noVariable);
    EXPECT_EQ(t.ProgramDir, "C:\\Program files\\Orvanta\\Lumara Screensaver");
    EXPECT_EQ(noVariable.created.front(), "C:\\Program files\\Orvanta");
}

TEST(ProgramFolder, ScanListsLanguageAndHelpFilesAsFullPaths) {
    MemoryStore store;
    FakeFolders folders;
    writeString(&store.key(Hive::Machine), "ProgramDir", "C:\\L");
    folders.folders["C:\\L"] = {"de.lang", "readme.txt", "help.chm", "fr.lang", "lang"};
    Settings s;
    s.LanguageFiles = {"stale"};
    LoadSettings(s, store, folders);
    EXPECT_EQ(s.LanguageFiles, (std::vector<std::string>{"C:\\L\\de.lang", "C:\\L\\fr.lang"}));
    EXPECT_EQ(s.HelpFiles, std::vector<std::string>{"C:\\L\\help.chm"});
}

TEST(ProgramFolder, UnreadableMachineKeyLeavesFolderAndScansBarePatterns) {
    MemoryStore store;
    FakeFolders folders;
    store.openable[1] = false;
    folders.folders[""] = {"root.lang"};
    Settings s;
    LoadSettings(s, store, folders);
    EXPECT_EQ(s.ProgramDir, "");
    EXPECT_EQ(s.LanguageFiles, std::vector<std::string>{"\\root.lang"});
}
