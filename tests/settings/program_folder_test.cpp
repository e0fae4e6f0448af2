#include <gtest/gtest.h>

#include "store_fakes.h"

TEST_F(SettingsStore, ProgramFolderRecordedFolderIsUsedUnchangedAndNotCreated) {
    writeString(&store.key(Hive::Machine), "ProgramDir", "D:\\Gone");
    const Settings s = loaded();
    EXPECT_EQ(s.ProgramDir, "D:\\Gone");
    EXPECT_TRUE(folders.created.empty());
    EXPECT_TRUE(s.LanguageFiles.empty());
    EXPECT_TRUE(s.HelpFiles.empty());
}

TEST_F(SettingsStore, ProgramFolderMissingRecordDerivesAndCreatesBothLevels) {
    store.key(Hive::Machine);  // key present, no value; then a value of another type
    for (const bool numberRecord : {false, true}) {
        SCOPED_TRACE(numberRecord);
        if (numberRecord) writeNumber(&store.key(Hive::Machine), "ProgramDir", 5);
        folders.created.clear();
        EXPECT_EQ(loaded().ProgramDir, "C:\\Program Files\\Orvanta\\Lumara Screensaver");
        EXPECT_EQ(folders.created, (std::vector<std::string>{"C:\\Program Files\\Orvanta",
                                                             "C:\\Program Files\\Orvanta\\Lumara Screensaver"}));
    }

    folders.programFiles.reset();  // no variable for the programs folder
    folders.created.clear();
    EXPECT_EQ(loaded().ProgramDir, "C:\\Program files\\Orvanta\\Lumara Screensaver");
    EXPECT_EQ(folders.created.front(), "C:\\Program files\\Orvanta");
}

TEST_F(SettingsStore, ProgramFolderScanListsLanguageAndHelpFilesAsFullPaths) {
    writeString(&store.key(Hive::Machine), "ProgramDir", "C:\\L");
    folders.folders["C:\\L"] = {"de.lang", "readme.txt", "help.chm", "fr.lang", "lang"};
    Settings s;
    s.LanguageFiles = {"stale"};
    LoadSettings(s, store, folders);
    EXPECT_EQ(s.LanguageFiles, (std::vector<std::string>{"C:\\L\\de.lang", "C:\\L\\fr.lang"}));
    EXPECT_EQ(s.HelpFiles, std::vector<std::string>{"C:\\L\\help.chm"});
}

TEST_F(SettingsStore, ProgramFolderUnreadableMachineKeyLeavesFolderAndScansBarePatterns) {
    store.openable[1] = false;
    folders.folders[""] = {"root.lang"};
    const Settings s = loaded();
    EXPECT_EQ(s.ProgramDir, "");
    EXPECT_EQ(s.LanguageFiles, std::vector<std::string>{"\\root.lang"});
}
