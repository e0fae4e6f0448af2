#include <gtest/gtest.h>

#include <set>

#include "i18n/language_file.h"
#include "i18n/text_encoding.h"
#include "platform/linux/store/file_store.h"
#include "platform/linux/store/linux_folder_system.h"
#include "settings/settings_store.h"
#include "temp_folder.h"
#include "ui/dialog_ids.h"
#include "ui/dialog_template.h"
#include "ui/string_table.h"

namespace fs = std::filesystem;

TEST(LinuxProgramFolder, WildcardMatchingIgnoresCase) {
    for (const auto& [name, pattern, matches] :
         {std::tuple{"de.lang", "*.lang", true}, {"DE.LANG", "*.lang", true}, {".lang", "*.lang", true},
          {"de.lang.bak", "*.lang", false}, {"delang", "*.lang", false}, {"a.chm", "?.chm", true},
          {"ab.chm", "?.chm", false}, {"x.y.z", "*.*", true}})
        EXPECT_EQ(matchesWildcard(name, pattern), matches) << name << " " << pattern;
}

TEST(LinuxProgramFolder, FoundFromTheExecutableInstalledAndInABuildTree) {
    // The programs folder found for an executable; "none", left as it was,
    // when there is none.
    auto programsFolder = [](const std::string& executable) {
        std::string folder = "none";
        const bool found = LinuxFolderSystem(executable).installedProgramsFolder(folder);
        EXPECT_EQ(found, folder != "none") << executable;
        return folder;
    };
    const std::string dir = freshTestFolder();
    fs::create_directories(dir + "/usr/bin");
    fs::create_directories(dir + "/usr/share/lumara");
    EXPECT_EQ(programsFolder(dir + "/usr/bin/lumara"), dir + "/usr/share");
    fs::create_directories(dir + "/opt/bin");  // no share/lumara: still beside bin
    EXPECT_EQ(programsFolder(dir + "/opt/bin/lumara"), dir + "/opt/share");

    fs::create_directories(dir + "/build/share/lumara");
    fs::create_directories(dir + "/build/tools/deep/er");
    EXPECT_EQ(programsFolder(dir + "/build/tools/deep/er/exe"), dir + "/build/share");

    EXPECT_EQ(programsFolder(""), "none");
    EXPECT_EQ(programsFolder("relative/exe"), "none");
}

// Installed under usr/bin, the data folder's files are listed; missing beside
// opt/bin, it is created level by level, and the missing "share" is not, as on Windows.
TEST(LinuxProgramFolder, LoadSettingsListsTheInstalledFilesOrCreatesTheFolderBesideBin) {
    const std::string dir = freshTestFolder();
    FileStore store(dir + "/user.reg", dir + "/machine.reg");
    const auto loaded = [&](const std::string& bin) {
        fs::create_directories(dir + bin);
        Settings s;
        LinuxFolderSystem folders(dir + bin + "/lumara");
        LoadSettings(s, store, folders);
        return s;
    };
    const std::string data = dir + "/usr/share/lumara";
    fs::create_directories(data);
    for (const char* name : {"b.lang", "A.LANG", "help.chm", "notes.txt"}) writeText(data + "/" + name, "");
    const Settings installed = loaded("/usr/bin");
    EXPECT_EQ(installed.ProgramDir, data);
    EXPECT_EQ(installed.LanguageFiles, (std::vector<std::string>{data + "/A.LANG", data + "/b.lang"}));
    EXPECT_EQ(installed.HelpFiles, std::vector<std::string>{data + "/help.chm"});

    EXPECT_EQ(loaded("/opt/bin").ProgramDir, dir + "/opt/share/lumara");
    EXPECT_FALSE(fs::exists(dir + "/opt/share/lumara"));
    fs::create_directories(dir + "/opt/share");
    EXPECT_TRUE(fs::is_directory(loaded("/opt/bin").ProgramDir));
}

// The translations shipped in the program folder: found from this test
// program's place in the build tree, shown correctly, and covering exactly
// the ids the program uses, so a text the program lost shows up too.
TEST(ShippedLanguages, EveryFileCoversEveryIdTheProgramUsesAndNoOther) {
    const std::string dir = freshTestFolder();
    FileStore store(dir + "/user.reg", dir + "/machine.reg");
    LinuxFolderSystem folders = LinuxFolderSystem::forThisProcess();
    Settings s;
    LoadSettings(s, store, folders);
    ASSERT_EQ(s.LanguageFiles.size(), 2u) << s.ProgramDir;

    // Every caption and every named control with a text in the dialog
    // templates, then every string-table id. Not translated: the numbers
    // beside two trackbars (set at run time) and the About box's product
    // and notice lines.
    const std::set<int32_t> untranslated = {dlg::kStarsValue, dlg::kCloudsValue, dlg::kProductLine,
                                            dlg::kNoticeLine};
    std::set<uint32_t> ids;
    for (const DialogTemplate& d : dialogTemplates()) {
        if (!d.caption.empty()) ids.insert(d.id);
        for (const ControlTemplate& c : d.controls)
            if (c.id != kUnnamedControl && !c.text.empty() && !untranslated.count(c.id))
                ids.insert(static_cast<uint32_t>(c.id));
    }
    for (const StringTableEntry& e : builtInStringTable()) ids.insert(e.id);

    std::vector<std::string> names;
    for (const std::string& path : s.LanguageFiles) {
        LanguageTable table;
        table.path = path;
        ASSERT_TRUE(LoadLanguageFile(table, folders).ok()) << path;
        names.push_back(table.description);
        EXPECT_FALSE(table.popupFont.empty());
        for (uint32_t id : ids) EXPECT_FALSE(LookupText(table, id).empty()) << path << " id " << id;
        for (uint32_t id = 0; id < table.count(); ++id)
            EXPECT_TRUE(LookupText(table, id).empty() || ids.count(id)) << path << " id " << id;
        for (const std::string& text : table.texts) EXPECT_TRUE(isValidUtf8(text));
    }
    EXPECT_EQ(names, (std::vector<std::string>{"Fran\u00e7ais", "Deutsch"}));

    Settings german;
    german.Language = s.LanguageFiles[1];
    ASSERT_TRUE(SaveSettings(german, store).ok());
    Settings loaded;
    LoadSettings(loaded, store, folders);
    EXPECT_EQ(loaded.Presets[0].Name, "Einfach");
    EXPECT_EQ(LookupText(loaded.LanguageTable, 3050), "Scharf \u2013 schnell");
}
