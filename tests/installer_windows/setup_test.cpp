// The build's setup program under Wine, in a prefix of its own: a silent
// install puts the saver, the program folder and the registry entries in
// place, the saver runs from there and finds its files through the machine
// key, and a silent uninstall takes back what setup brought while the
// user's own files and settings stay.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "saver_windows/wine_session.h"
#include "tools/run_tool.h"

namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

constexpr char kReg[] = "C:\\windows\\system32\\reg.exe";
constexpr char kMachineKey[] = "HKLM\\Software\\Tellix\\VEXA";
constexpr char kUserKey[] = "HKCU\\Software\\Tellix\\VEXA";
constexpr char kUninstallKey[] = "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Lumara Screensaver";
constexpr char kDesktopKey[] = "HKCU\\Control Panel\\Desktop";

const fs::path kDriveC = fs::path(wineSetup().prefix) / "drive_c";
const fs::path kInstalledSaver = kDriveC / "windows" / "system32" / "lumara.scr";

// The build's setup program, lumara-setup-<architecture>.exe.
std::string setupProgram() {
    for (const auto& entry : fs::directory_iterator(wineSetup().windowsBuild)) {
        const std::string name = entry.path().filename().string();
        if (name.rfind("lumara-setup-", 0) == 0 && entry.path().extension() == ".exe") return name;
    }
    return "lumara-setup.exe";
}

// What reg.exe lists of a key, or of one value; empty when it is absent.
std::string query(WineSession& wine, const std::string& key, const std::string& value = "") {
    std::vector<std::string> args = {"query", key};
    if (!value.empty()) args.insert(args.end(), {"/v", value});
    std::string listing;
    return wine.run(kReg, args, 60, &listing) == 0 ? listing : "";
}

// "TYPE DATA" of a value in a listing of query(), empty when it is absent.
std::string valueIn(const std::string& listing, const std::string& name) {
    const std::string start = "    " + name + "    ";
    const size_t at = listing.find(start);
    if (at == std::string::npos) return "";
    const std::string line = listing.substr(at + start.size(), listing.find_first_of("\r\n", at) - at - start.size());
    const size_t gap = line.find("    ");
    return gap == std::string::npos ? line : line.substr(0, gap) + " " + line.substr(gap + 4);
}

void setString(WineSession& wine, const std::string& key, const std::string& value, const std::string& text) {
    ASSERT_EQ(wine.run(kReg, {"add", key, "/v", value, "/t", "REG_SZ", "/d", text, "/f"}, 60), 0);
}

bool contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// The language files and the help files (beside lumara.scr) the build
// made, which setup must ship.
std::vector<fs::path> shippedFiles() {
    std::vector<fs::path> files;
    const fs::path build(wineSetup().windowsBuild);
    for (const auto& entry : fs::directory_iterator(build / "share" / "lumara"))
        if (entry.path().extension() == ".lang") files.push_back(entry.path());
    for (const auto& entry : fs::directory_iterator(build / "bin"))
        if (entry.path().extension() == ".chm") files.push_back(entry.path());
    return files;
}

// Setup's files are the build's, byte for byte, and the registry says
// where the program folder is and how to uninstall.
void expectInstalled(WineSession& wine, const fs::path& folder, const std::string& windowsFolder) {
    EXPECT_EQ(fingerprint(readFile(kInstalledSaver)), fingerprint(readFile(windowsProgram("bin/lumara.scr"))));
    const std::vector<fs::path> shipped = shippedFiles();
    EXPECT_GE(shipped.size(), 2u);  // German and French at least
    for (const fs::path& file : shipped)
        EXPECT_EQ(fingerprint(readFile(folder / file.filename())), fingerprint(readFile(file))) << file;
    EXPECT_TRUE(fs::exists(folder / "uninstall.exe"));

    EXPECT_EQ(valueIn(query(wine, kMachineKey, "ProgramDir"), "ProgramDir"), "REG_SZ " + windowsFolder);
    const std::string entry = query(wine, kUninstallKey);
    EXPECT_EQ(valueIn(entry, "DisplayName"), "REG_SZ Lumara Screensaver");
    EXPECT_EQ(valueIn(entry, "Publisher"), "REG_SZ Tellix");
    EXPECT_EQ(valueIn(entry, "DisplayIcon"), "REG_SZ " + windowsFolder + "\\uninstall.exe,0");
    EXPECT_EQ(valueIn(entry, "QuietUninstallString"), "REG_SZ \"" + windowsFolder + "\\uninstall.exe\" /S");
    EXPECT_TRUE(contains(valueIn(entry, "DisplayVersion"), "REG_SZ ")) << entry;
    // In KiB: at least the saver's size.
    const std::string size = valueIn(entry, "EstimatedSize");
    ASSERT_EQ(size.rfind("REG_DWORD 0x", 0), 0u) << entry;
    EXPECT_GE(std::stoul(size.substr(12), nullptr, 16) * 1024, fs::file_size(kInstalledSaver));
}

// The uninstaller copies itself away and ends at once; the copy does the work.
void uninstall(WineSession& wine, const std::string& windowsFolder) {
    ASSERT_EQ(wine.run(windowsFolder + "\\uninstall.exe", {"/S"}, 120), 0);
    wine.waitForAllPrograms();
}

void expectUninstalled(WineSession& wine, const fs::path& folder) {
    EXPECT_FALSE(fs::exists(kInstalledSaver));
    for (const fs::path& file : shippedFiles()) EXPECT_FALSE(fs::exists(folder / file.filename())) << file;
    EXPECT_FALSE(fs::exists(folder / "uninstall.exe"));
    EXPECT_EQ(query(wine, kMachineKey, "ProgramDir"), "");
    EXPECT_EQ(query(wine, kUninstallKey), "");
}

}  // namespace

TEST(Setup, DefaultFolderComesAndGoesAndAnotherSaverChoiceStays) {
    WineSession wine;
    setString(wine, kDesktopKey, "SCRNSAVE.EXE", "C:\\windows\\system32\\other.scr");
    ASSERT_EQ(wine.run(setupProgram(), {"/S"}, 180), 0);
    const fs::path folder = kDriveC / "Program Files" / "Orvanta" / "Lumara Screensaver";
    expectInstalled(wine, folder, "C:\\Program Files\\Orvanta\\Lumara Screensaver");

    uninstall(wine, "C:\\Program Files\\Orvanta\\Lumara Screensaver");
    expectUninstalled(wine, folder);
    EXPECT_FALSE(fs::exists(folder.parent_path())) << "the empty Orvanta folder goes too";
    EXPECT_EQ(valueIn(query(wine, kDesktopKey, "SCRNSAVE.EXE"), "SCRNSAVE.EXE"),
              "REG_SZ C:\\windows\\system32\\other.scr");
}

TEST(Setup, SaverRunsFromWhereSetupPutItAndTheUsersThingsOutliveIt) {
    WineSession wine;
    ASSERT_EQ(wine.run("bin/store_flight.exe", {"StarsCount=20000", "AntiAliase=5", "Smoothness=90"}, 120), 0);
    ASSERT_EQ(wine.run(setupProgram(), {"/S", "/CURRENT", "/D=C:\\Lumara"}, 180), 0);
    const fs::path folder = kDriveC / "Lumara";
    expectInstalled(wine, folder, "C:\\Lumara");
    EXPECT_EQ(valueIn(query(wine, kDesktopKey, "SCRNSAVE.EXE"), "SCRNSAVE.EXE"),
              "REG_SZ C:\\windows\\system32\\lumara.scr");

    // The saver lists the recorded folder, not a derived one, and reads the
    // German file the user chose; Wine's file trace shows both.
    setString(wine, kUserKey, "Language", "C:\\Lumara\\german.lang");
    Child saver = wine.start("C:\\windows\\system32\\lumara.scr", {"/s"}, "trace+file");
    EXPECT_TRUE(wine.x().waitForFrames(60s).litInEveryCell(2, 2, 50)) << "stars in every quarter of the screen";
    wine.x().xdotool("key space");
    EXPECT_EQ(saver.waitFor(30s), 0);
    const std::string trace = saver.errorOutput();
    EXPECT_TRUE(contains(trace, "FindFirstFileExW L\"C:\\\\Lumara\\\\*.lang\""));
    EXPECT_TRUE(contains(trace, "CreateFileW L\"C:\\\\Lumara\\\\german.lang\" GENERIC_READ"));
    EXPECT_FALSE(fs::exists(kDriveC / "Program Files" / "Orvanta"));

    const fs::path notes = folder / "my notes.txt";
    { std::ofstream(notes) << "mine"; }
    uninstall(wine, "C:\\Lumara");
    expectUninstalled(wine, folder);
    EXPECT_TRUE(fs::exists(notes)) << "a file the user put there stays, and its folder";
    EXPECT_EQ(query(wine, kDesktopKey, "SCRNSAVE.EXE"), "") << "the choice named Lumara";
    const std::string settings = query(wine, kUserKey);
    EXPECT_EQ(valueIn(settings, "StarsCount"), "REG_DWORD 0x4e20");
    EXPECT_EQ(valueIn(settings, "Language"), "REG_SZ C:\\Lumara\\german.lang");
}
