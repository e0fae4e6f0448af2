// An installed Lumara: `cmake --install` into a scratch prefix brings every
// file a desktop expects, the description of the hack's options carries the
// settings table's ranges, and the installed programs find their program
// folder from their own place (the xscreensaver test runs the installed saver),
// and the settings dialog its module; a module that cannot be loaded is said
// in one line.
#include <gtest/gtest.h>
#include <elf.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>

#include "platform_linux/temp_folder.h"
#include "real_saver.h"
#include "settings/setting_options.h"

namespace fs = std::filesystem;

TEST(Installed, EveryFileADesktopExpectsAndTheProgramsRunFromThere) {
    const std::string prefix = scratchFolder("installed");
    ASSERT_TRUE(installBuild(prefix)) << "cmake --install failed";
    for (const char* file :
         {"bin/lumara", "bin/lumara-render", "share/lumara/german.lang", "share/lumara/french.lang",
          "share/applications/lumara.desktop", "share/icons/hicolor/256x256/apps/lumara.png",
          "share/icons/hicolor/48x48/apps/lumara.png", "share/man/man6/lumara.6.gz",
          "share/man/man1/lumara-render.1.gz", "share/xscreensaver/config/lumara.xml", "share/doc/lumara/copyright",
          "share/applications/screensavers/lumara.desktop", "libexec/xscreensaver/lumara",
          "share/systemd/user/lumara-idle.service"})
        EXPECT_TRUE(fs::is_regular_file(prefix + "/" + file)) << file;
    const std::string desktop = fileText(prefix + "/share/applications/lumara.desktop");
    for (const char* line : {"Name=Lumara settings\n", "Categories=Settings;DesktopSettings;\n", "Exec=lumara /c\n"})
        EXPECT_NE(desktop.find(line), std::string::npos) << line;
    // The idle unit runs the watcher installed here.
    const std::string unit = fileText(prefix + "/share/systemd/user/lumara-idle.service");
    EXPECT_NE(unit.find("\nExecStart=" + prefix + "/bin/lumara --idle 5\n"), std::string::npos) << unit;
    // The icon is a drawn frame: a PNG of its size with stars in it.
    const std::string icon = fileText(prefix + "/share/icons/hicolor/256x256/apps/lumara.png");
    ASSERT_GT(icon.size(), 10000u) << "more than a black square";
    EXPECT_EQ(icon.substr(1, 3), "PNG");
    EXPECT_EQ(icon.substr(16, 8), std::string("\0\0\1\0\0\0\1\0", 8)) << "256 x 256";

    const std::string xml = fileText(prefix + "/share/xscreensaver/config/lumara.xml");
    for (const SettingOption& o : kSettingOptions) {
        const std::string option(o.option);
        if (o.scale == OptionScale::Choice) {
            for (std::string_view name : kAntiAliasNames)
                EXPECT_NE(xml.find("arg-set=\"" + option + " " + std::string(name) + "\""), std::string::npos);
            continue;
        }
        const OptionRange r = optionRange(o);
        const std::string range = "low=\"" + std::to_string(r.low) + "\" high=\"" + std::to_string(r.high) +
                                  "\" default=\"" + std::to_string(r.fallback) + "\"";
        const size_t at = xml.find("arg=\"" + option + " %\"");
        ASSERT_NE(at, std::string::npos) << option;
        EXPECT_EQ(xml.find(range, at), xml.find("/>", at) - range.size()) << option << ": " << range;
    }
    // The frame-rate check box every hack has, and what untouched sliders mean.
    EXPECT_NE(xml.find("<boolean id=\"showfps\" _label=\"Show frame rate\" arg-set=\"-fps\"/>"), std::string::npos);
    EXPECT_NE(xml.find("convert=\"invert\""), std::string::npos) << "a longer -delay is a lower rate";
    EXPECT_NE(xml.find("(lumara /c)"), std::string::npos) << "untouched sliders take Lumara's own settings";

    // Any *.chm in the folder is a help file, beside the ones the build made.
    std::ofstream(prefix + "/share/lumara/guide.chm") << "help";
    const std::string store = scratchFolder("installed-store");
    const std::map<std::string, std::string> env{{"LUMARA_USER_STORE", store + "/user.reg"},
                                                 {"LUMARA_MACHINE_STORE", store + "/machine.reg"}};
    Child help({prefix + "/bin/lumara", "--help"}, env);
    EXPECT_EQ(help.waitFor(), 0);
    const std::string out = help.output();
    EXPECT_NE(out.find("Program folder: " + prefix + "/share/lumara\n"), std::string::npos) << out;
    EXPECT_NE(out.find("language files: french.lang, german.lang\n"), std::string::npos);
    const size_t helpLine = out.find("help files: ");
    const std::string helpFiles = out.substr(helpLine, out.find('\n', helpLine) - helpLine);
    for (const char* name : {"guide.chm", "Lumara Help (English).chm"})
        EXPECT_NE(helpFiles.find(name), std::string::npos) << helpFiles;

    Child render({prefix + "/bin/lumara-render", "--size", "64x48", "--out", store + "/frame.png"}, env);
    EXPECT_EQ(render.waitFor(), 0) << render.errorOutput();
    EXPECT_TRUE(fs::is_regular_file(store + "/frame.png"));
}

namespace {

// The module's bytes, `keep` of them from the start.
void cutShort(const std::string& module, const std::string& whole, size_t keep) {
    std::ofstream(module, std::ios::binary | std::ios::trunc) << whole.substr(0, keep);
}

// 4 KB of 0xff in the middle of the module's code (its executable segment).
void overwriteCode(const std::string& module, std::string whole) {
    const auto& header = *reinterpret_cast<const Elf64_Ehdr*>(whole.data());
    for (int i = 0; i < header.e_phnum; ++i) {
        const auto& s = *reinterpret_cast<const Elf64_Phdr*>(whole.data() + header.e_phoff + i * sizeof(Elf64_Phdr));
        if (s.p_type == PT_LOAD && (s.p_flags & PF_X)) whole.replace(s.p_offset + s.p_filesz / 2, 4096, 4096, '\xff');
    }
    std::ofstream(module, std::ios::binary | std::ios::trunc) << whole;
}

}  // namespace

// The settings dialog's module sits in the installation's private library
// folder, readable and not executable, as Debian installs shared objects.
// Loaded, with no display, it says so itself; missing, not a regular file,
// cut short, damaged or not the one built with the program, the program
// says what it could not load, in one line naming it, and the dialog ends
// with -1 as when it cannot be shown: nothing blocks, nothing faults.
TEST(Installed, TheSettingsDialogLoadsItsModuleAndSaysInOneLineWhenItCannot) {
    const std::string prefix = scratchFolder("installed-module");
    ASSERT_TRUE(installBuild(prefix)) << "cmake --install failed";
    const std::string module = prefix + "/" LUMARA_MODULE_DIR "/lumara-settings.so";
    ASSERT_TRUE(fs::is_regular_file(module));
    EXPECT_EQ(fs::status(module).permissions() & fs::perms::all, fs::perms(0644));
    const std::map<std::string, std::string> noDisplay{{"DISPLAY", ""}, {"WAYLAND_DISPLAY", ""}};
    const auto dialogSays = [&] {
        Child dialog({prefix + "/bin/lumara", "/c"}, noDisplay);
        EXPECT_EQ(dialog.waitFor(), 255);
        return dialog.errorOutput();
    };
    EXPECT_EQ(dialogSays().rfind("lumara: no display to show the settings dialog on;", 0), 0u);

    const std::string whole = fileText(module);
    ASSERT_GT(whole.size(), 64 * 1024u);
    const std::string cut = "cut short: its contents reach beyond its ";
    const std::string differs = "damaged, or not the one built with this program";
    const struct {
        std::string what;
        std::function<void()> make;
        std::string said;
    } unloadable[] = {
        {"missing", [] {}, "No such file or directory"},
        {"a FIFO", [&] { ::mkfifo(module.c_str(), 0644); }, "not a regular file"},
        {"1 KB", [&] { cutShort(module, whole, 1024); }, cut + "1024 bytes"},
        {"4 KB", [&] { cutShort(module, whole, 4096); }, cut + "4096 bytes"},
        {"25 %", [&] { cutShort(module, whole, whole.size() / 4); }, cut},
        {"50 %", [&] { cutShort(module, whole, whole.size() / 2); }, cut},
        {"0xff in its code", [&] { overwriteCode(module, whole); }, differs},
        {"not ELF", [&] { std::ofstream(module) << std::string(256, 'x'); }, "not an ELF file"},
        {"older", [&] { fs::copy_file(LUMARA_OLDER_MODULE, module, fs::copy_options::overwrite_existing); }, differs},
    };
    for (const auto& c : unloadable) {
        SCOPED_TRACE(c.what);
        fs::remove(module);
        c.make();
        const std::string said = dialogSays();
        EXPECT_EQ(said.rfind("lumara: cannot load the settings dialog: " + module + ": ", 0), 0u) << said;
        EXPECT_NE(said.find(c.said), std::string::npos) << said;
        EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
    }
}
