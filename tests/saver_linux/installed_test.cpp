// An installed Lumara: `cmake --install` into a scratch prefix brings every
// file a desktop expects, the installed programs find their program folder
// from their own place (the xscreensaver test runs the installed saver),
// and the description of the hack's options carries
// the settings table's ranges.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "settings/setting_options.h"
#include "install_build.h"
#include "x11_session.h"

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

// A fresh installation for each test (ctest runs them side by side).
std::string installedPrefix(const std::string& test) {
    const std::string prefix = scratchFolder("installed/" + test);
    return installBuild(prefix) ? prefix : std::string();
}

std::string fileText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace

TEST(Installed, EveryFileADesktopExpects) {
    const std::string prefix = installedPrefix("files");
    ASSERT_FALSE(prefix.empty()) << "cmake --install failed";
    for (const char* file :
         {"bin/lumara", "bin/lumara-render", "share/lumara/german.lang", "share/lumara/french.lang",
          "share/applications/lumara.desktop", "share/icons/hicolor/256x256/apps/lumara.png",
          "share/icons/hicolor/48x48/apps/lumara.png", "share/man/man1/lumara.1.gz",
          "share/man/man1/lumara-render.1.gz", "share/xscreensaver/config/lumara.xml", "share/doc/lumara/copyright"})
        EXPECT_TRUE(fs::is_regular_file(prefix + "/" + file)) << file;

    const std::string desktop = fileText(prefix + "/share/applications/lumara.desktop");
    EXPECT_NE(desktop.find("Name=Lumara settings\n"), std::string::npos);
    EXPECT_NE(desktop.find("Categories=Settings;Screensaver;\n"), std::string::npos);
    EXPECT_NE(desktop.find("Exec=lumara /c\n"), std::string::npos);

    // The icon is a drawn frame: a PNG of its size with stars in it.
    const std::string icon = fileText(prefix + "/share/icons/hicolor/256x256/apps/lumara.png");
    ASSERT_GT(icon.size(), 24u);
    EXPECT_EQ(icon.substr(1, 3), "PNG");
    EXPECT_EQ(icon.substr(16, 8), std::string("\0\0\1\0\0\0\1\0", 8)) << "256 x 256";
    EXPECT_GT(icon.size(), 10000u) << "more than a black square";
}

TEST(Installed, TheXscreensaverDescriptionCarriesTheTablesRanges) {
    const std::string prefix = installedPrefix("xml");
    ASSERT_FALSE(prefix.empty());
    const std::string xml = fileText(prefix + "/share/xscreensaver/config/lumara.xml");
    for (const SettingOption& o : kSettingOptions) {
        if (o.scale == OptionScale::Choice) {
            for (std::string_view name : kAntiAliasNames)
                EXPECT_NE(xml.find("arg-set=\"" + std::string(o.option) + " " + std::string(name) + "\""),
                          std::string::npos);
            continue;
        }
        const OptionRange r = optionRange(o);
        const std::string range = "low=\"" + std::to_string(r.low) + "\" high=\"" + std::to_string(r.high) +
                                  "\" default=\"" + std::to_string(r.fallback) + "\"";
        const size_t at = xml.find("arg=\"" + std::string(o.option) + " %\"");
        ASSERT_NE(at, std::string::npos) << o.option;
        EXPECT_EQ(xml.find(range, at), xml.find("/>", at) - range.size()) << o.option << ": " << range;
    }
}

TEST(Installed, TheInstalledProgramsFindTheirFolderAndRun) {
    const std::string prefix = installedPrefix("run");
    ASSERT_FALSE(prefix.empty());
    // Any *.chm in the folder is a help file, beside the ones the build made.
    std::ofstream(prefix + "/share/lumara/guide.chm") << "help";
    const std::string store = scratchFolder("installed-store");
    const std::map<std::string, std::string> env{{"LUMARA_USER_STORE", store + "/user.reg"},
                                                 {"LUMARA_MACHINE_STORE", store + "/machine.reg"}};
    Child help({prefix + "/bin/lumara", "--help"}, env);
    EXPECT_EQ(help.waitFor(5000ms), 0);
    EXPECT_NE(help.output().find("Program folder: " + prefix + "/share/lumara\n"), std::string::npos)
        << help.output();
    EXPECT_NE(help.output().find("language files: french.lang, german.lang\n"), std::string::npos);
    const std::string out = help.output();
    const size_t helpLine = out.find("help files: ");
    ASSERT_NE(helpLine, std::string::npos) << out;
    const std::string helpFiles = out.substr(helpLine, out.find('\n', helpLine) - helpLine);
    EXPECT_NE(helpFiles.find("guide.chm"), std::string::npos) << helpFiles;
    EXPECT_NE(helpFiles.find("Lumara Help (English).chm"), std::string::npos) << helpFiles;

    Child render({prefix + "/bin/lumara-render", "--size", "64x48", "--out", store + "/frame.png"}, env);
    EXPECT_EQ(render.waitFor(10000ms), 0) << render.errorOutput();
    EXPECT_TRUE(fs::is_regular_file(store + "/frame.png"));
}
