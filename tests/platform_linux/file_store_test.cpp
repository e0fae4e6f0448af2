#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <optional>
#include <tuple>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/linux/store/file_store.h"
#include "platform/linux/store/linux_folder_system.h"
#include "settings/registry_file.h"
#include "settings/settings_store.h"
#include "settings/store_values.h"
#include "temp_folder.h"

namespace {

struct Read {
    bool ok = false;
    ValueType type{};
    std::vector<uint8_t> data;
};

Read readValue(StoreKey& key, const char* name, uint32_t capacity = 20000) {
    Read r;
    r.data.resize(capacity);
    uint32_t size = capacity;
    r.ok = key.read(name, r.type, r.data.data(), size);
    r.data.resize(r.ok ? size : 0);
    return r;
}

std::vector<uint8_t> bytes(std::string_view s) { return {s.begin(), s.end()}; }

// The names in a folder, sorted.
std::vector<std::string> entries(const std::string& dir) {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(dir)) names.push_back(e.path().filename());
    std::sort(names.begin(), names.end());
    return names;
}

// A store with both hives in the test's own folder.
struct FileStoreTest : ::testing::Test {
    const std::string dir = freshTestFolder();
    const std::string user = dir + "/user.reg";
    FileStore store{user, dir + "/machine.reg"};
    LinuxFolderSystem folders{dir + "/bin/lumara"};

    bool saveStars(int32_t stars) {
        Settings s;
        s.StarsCount = stars;
        return SaveSettings(s, store).ok();
    }
    int32_t loadedStars() {
        Settings s;
        LoadSettings(s, store, folders);
        return s.StarsCount;
    }
};

}  // namespace

TEST_F(FileStoreTest, RoundTripsEveryValueTypeAsReadableRegedit4) {
    std::vector<uint8_t> binary(40);
    for (size_t i = 0; i < binary.size(); ++i) binary[i] = static_cast<uint8_t>(i * 7);
    const std::vector<uint8_t> twoLines = bytes(std::string_view("a\nb\0", 4));
    {
        const auto key = store.create(Hive::User, kProductKeyPath);
        ASSERT_TRUE(key);
        writeString(key.get(), "BackSound", "C:\\x\\\"q\".wav");
        writeNumber(key.get(), "StarsCount", 5000);
        writeNumber(key.get(), "RotSpeed", static_cast<uint32_t>(-25));
        writeBinary(key.get(), "PRESETb0", binary.data(), 40);
        writeMultiString(key.get(), "NURimages", {"a.bmp", "b.png"});
        writeMultiString(key.get(), "PRESETi0", {});
        key->write("Odd", ValueType::String, twoLines.data(), 4);
        key->write("NoNul", ValueType::String, twoLines.data(), 1);
    }
    const std::string text = fileText(user);
    EXPECT_EQ(text.rfind("REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Tellix\\VEXA]\r\n", 0), 0u);
    for (const char* line : {"\"BackSound\"=\"C:\\\\x\\\\\\\"q\\\".wav\"\r\n", "\"StarsCount\"=dword:00001388\r\n",
                             "\"RotSpeed\"=dword:ffffffe7\r\n",
                             "\"NURimages\"=hex(7):61,2e,62,6d,70,00,62,2e,70,6e,67,00,00\r\n",
                             "\"PRESETi0\"=hex(7):00\r\n", "\"Odd\"=hex(1):61,0a,62,00\r\n",
                             ",\\\r\n  "})  // the long binary value wraps
        EXPECT_NE(text.find(line), std::string::npos) << line;

    const auto key = store.open(Hive::User, kProductKeyPath);
    ASSERT_TRUE(key);
    std::string sound;
    ASSERT_TRUE(readString(*key, "BackSound", 300, sound));
    EXPECT_EQ(sound, "C:\\x\\\"q\".wav");
    int32_t number = 0;
    ASSERT_TRUE(readNumber(*key, "rotspeed", number));  // names ignore case
    EXPECT_EQ(number, -25);
    const Read b = readValue(*key, "PRESETb0");
    EXPECT_EQ(b.type, ValueType::Binary);
    EXPECT_EQ(b.data, binary);
    EXPECT_EQ(readValue(*key, "NURimages").data, bytes(std::string_view("a.bmp\0b.png\0\0", 13)));
    EXPECT_EQ(readValue(*key, "PRESETi0").data, std::vector<uint8_t>{0});
    const Read odd = readValue(*key, "Odd");
    EXPECT_EQ(odd.type, ValueType::String);
    EXPECT_EQ(odd.data, twoLines);
    EXPECT_EQ(readValue(*key, "NoNul").data, std::vector<uint8_t>{'a'});
    EXPECT_FALSE(readValue(*key, "PRESETb0", 39).ok);  // too large for the buffer

    // A failed save's key, reverted, holds and leaves the file as it was.
    {
        const auto failed = store.create(Hive::User, kProductKeyPath);
        writeNumber(failed.get(), "StarsCount", 1);
        failed->remove("BackSound");
        failed->revert();
        EXPECT_EQ(readValue(*failed, "StarsCount").data, (std::vector<uint8_t>{0x88, 0x13, 0, 0}));
    }
    EXPECT_EQ(fileText(user), text);
}

// What the user wrote and Lumara does not own outlives a save: other keys,
// unknown values and comment lines, each above the line it was written
// above. An export's deletions are done in file order, as an import would.
TEST_F(FileStoreTest, ReadsAWindowsExportAsItIsAndKeepsWhatItDoesNotOwn) {
    writeText(user,
              "REGEDIT4\r\n\r\n"
              "; above the first key\r\n"
              "[HKEY_CURRENT_USER\\Software\\Other]\r\n\"Keep\"=\"me\"\r\n\r\n"
              "; a comment\r\n"
              "[HKEY_CURRENT_USER\\SOFTWARE\\Tellix\\VEXA]\r\n"
              "\"StarsCount\"=dword:00000100\r\n"
              "  ; above the pictures\r\n"
              "\"NURimages\"=hex(7):43,3a,5c,61,2e,62,6d,70,00,\\\r\n"
              "  00\r\n"
              "@=\"default\"\r\n"
              "; above Path\r\n"
              "\"Path\"=hex(2):25,00\r\n\r\n"
              "[HKEY_CURRENT_USER\\Software\\Gone\\Below]\r\n\"x\"=dword:1\r\n"
              "[-HKEY_CURRENT_USER\\Software\\Gone]\r\n"  // with the keys below it
              "[HKEY_CURRENT_USER\\Software\\Tellix\\VEXA]\r\n"
              "\"Path\"=-\r\n"
              "\"Absent\"=-\r\n"
              "\"MoveSpeed\"=dword:00000007\r\n"
              "; the last line\r\n");
    {
        const auto key = store.open(Hive::User, kProductKeyPath);
        ASSERT_TRUE(key);
        int32_t stars = 0;
        ASSERT_TRUE(readNumber(*key, "StarsCount", stars));
        EXPECT_EQ(stars, 256);
        std::vector<std::string> images;
        ASSERT_TRUE(readMultiString(*key, "NURimages", 10000, images));
        EXPECT_EQ(images, std::vector<std::string>{"C:\\a.bmp"});
        EXPECT_FALSE(key->has("Path"));
        EXPECT_FALSE(store.open(Hive::User, "Software\\Gone"));
    }
    writeNumber(store.create(Hive::User, kProductKeyPath).get(), "StarsCount", 300);
    EXPECT_EQ(fileText(user),
              "REGEDIT4\r\n\r\n"
              "; above the first key\r\n"
              "[HKEY_CURRENT_USER\\Software\\Other]\r\n\"Keep\"=\"me\"\r\n\r\n"
              "; a comment\r\n"
              "[HKEY_CURRENT_USER\\SOFTWARE\\Tellix\\VEXA]\r\n"
              "\"StarsCount\"=dword:0000012c\r\n"
              "  ; above the pictures\r\n"
              "\"NURimages\"=hex(7):43,3a,5c,61,2e,62,6d,70,00,00\r\n"
              "@=\"default\"\r\n"
              "; above Path\r\n"  // now above the line after Path's deletion
              "\"MoveSpeed\"=dword:00000007\r\n\r\n"
              "; the last line\r\n");
}

TEST_F(FileStoreTest, AbsentUserHiveHasNoKeyButTheMachineKeyAlwaysOpens) {
    EXPECT_FALSE(store.open(Hive::User, kProductKeyPath));
    EXPECT_TRUE(store.open(Hive::Machine, kProductKeyPath));
    { store.create(Hive::User, "Software\\Tellix"); }
    EXPECT_TRUE(store.open(Hive::User, "Software"));  // a key exists with its subkeys
    EXPECT_FALSE(store.open(Hive::User, kProductKeyPath));
    // Opening and reading writes nothing.
    EXPECT_FALSE(std::filesystem::exists(dir + "/machine.reg"));
}

TEST_F(FileStoreTest, CreateMakesTheFolderAndTheMachineHiveIsNeverWritten) {
    FileStore deep(dir + "/a/b/user.reg", dir + "/machine.reg");
    EXPECT_TRUE(deep.create(Hive::User, kProductKeyPath));
    EXPECT_TRUE(std::filesystem::exists(dir + "/a/b/user.reg"));
    EXPECT_FALSE(deep.create(Hive::Machine, kProductKeyPath)) << "writable, and still not written";

    Settings s;
    s.ProgramDir = "/opt/lumara";
    EXPECT_TRUE(SaveSettings(s, deep).ok());  // the machine write fails silently
    EXPECT_FALSE(std::filesystem::exists(dir + "/machine.reg"));
    // What an administrator put there is read.
    writeText(dir + "/machine.reg", "REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\Software\\Tellix\\VEXA]\n\"ProgramDir\"=\"/srv/lumara\"\n");
    const auto machine = deep.open(Hive::Machine, kProductKeyPath);
    ASSERT_TRUE(machine);
    std::string programDir;
    EXPECT_TRUE(readString(*machine, "ProgramDir", 300, programDir));
    EXPECT_EQ(programDir, "/srv/lumara");
}

// A folder, FIFO or device as a store: HostileFiles.FifosDevicesAndFoldersAreRefusedAtOnceInEveryRole.
TEST_F(FileStoreTest, AUserFileThatCannotBeReadOrReachedFails) {
    if (::geteuid() == 0) GTEST_SKIP() << "file permissions do not bind root";
    { store.create(Hive::User, kProductKeyPath); }
    ::chmod(user.c_str(), 0);
    EXPECT_FALSE(store.open(Hive::User, kProductKeyPath));
    EXPECT_FALSE(store.create(Hive::User, kProductKeyPath));
}

TEST_F(FileStoreTest, DamagedFileReadsEmptyAndIsKeptWhenASaveReplacesIt) {
    const std::string damages[] = {"not a registry file\n", "REGEDIT4\n\"orphan\"=dword:1\n",
                                   "REGEDIT4\n[-HKEY_CURRENT_USER\\Gone]\n\"in no key\"=dword:1\n"};
    for (const std::string& damage : damages) {
        writeText(user, damage);
        EXPECT_EQ(loadedStars(), 2000);     // as on a first run
        EXPECT_EQ(fileText(user), damage);  // loading changes nothing
        EXPECT_TRUE(saveStars(4321));
    }
    EXPECT_EQ(fileText(user + ".damaged"), damages[0]);
    EXPECT_EQ(fileText(user + ".damaged.1"), damages[1]);
    EXPECT_EQ(fileText(user + ".damaged.2"), damages[2]);
    EXPECT_EQ(loadedStars(), 4321);
    // Only the user's hive and the kept copies are left: no temporary files.
    EXPECT_EQ(entries(dir).size(), 4u);
}

// A store the user made read-only is theirs to keep, root's saves included:
// the save fails, and nothing is written into or beside the file, a damaged
// one included; nor by a key opened before the file was made read-only.
TEST_F(FileStoreTest, AReadOnlyUserFileIsNeverReplaced) {
    ASSERT_TRUE(saveStars(1111));
    const auto key = store.create(Hive::User, kProductKeyPath);
    writeNumber(key.get(), "StarsCount", 3333);
    for (const std::string damage : {"", "not a registry file\n"}) {
        if (!damage.empty()) writeText(user, damage);
        ::chmod(user.c_str(), 0444);
        const std::string before = fileText(user);
        EXPECT_FALSE(saveStars(2222));
        EXPECT_EQ(fileText(user), before);
        EXPECT_EQ(entries(dir), std::vector<std::string>{"user.reg"});
        if (damage.empty()) { EXPECT_FALSE(key->commit()); }
        ::chmod(user.c_str(), 0644);
    }
}

// A save that was killed leaves its temporary file behind; the next save
// takes it over, so nothing is left beside the store afterwards.
TEST_F(FileStoreTest, ASaveAfterACrashedOneLeavesNoTemporaryFile) {
    ASSERT_TRUE(saveStars(1111));
    writeText(user + ".tmp", std::string(100000, 'x'));  // what the killed save had written
    ASSERT_TRUE(saveStars(2222));
    EXPECT_EQ(entries(dir), (std::vector<std::string>{"user.reg"}));
    EXPECT_EQ(loadedStars(), 2222);

    // Something else under the temporary name is cleared away, not written into.
    ASSERT_EQ(::mkfifo((user + ".tmp").c_str(), 0600), 0);
    ASSERT_TRUE(saveStars(1111));
    EXPECT_EQ(loadedStars(), 1111);
    EXPECT_FALSE(std::filesystem::exists(user + ".tmp"));
}

// Dotfile managers keep the store elsewhere and link to it: a save writes
// through the link, which stays, and nothing is left in either folder.
TEST_F(FileStoreTest, ASymbolicallyLinkedStoreStaysALinkWithTheNewContentsAtItsTarget) {
    std::filesystem::create_directories(dir + "/dotfiles");
    std::filesystem::create_symlink("dotfiles/lumara.reg", user);  // not there yet
    for (const auto& [stars, hex] : {std::pair{3333, "00000d05"}, {4444, "0000115c"}}) {
        ASSERT_TRUE(saveStars(stars));
        EXPECT_TRUE(std::filesystem::is_symlink(user));
        EXPECT_NE(fileText(dir + "/dotfiles/lumara.reg").find("\"StarsCount\"=dword:" + std::string(hex)),
                  std::string::npos);
        EXPECT_EQ(loadedStars(), stars);
    }
    EXPECT_EQ(entries(dir + "/dotfiles").size(), 1u);
    EXPECT_EQ(entries(dir), (std::vector<std::string>{"dotfiles", "user.reg"}));
}

TEST(FileStore, PathsComeFromTheEnvironment) {
    std::vector<std::pair<const char*, std::optional<std::string>>> saved;
    for (const char* name : {"LUMARA_USER_STORE", "LUMARA_MACHINE_STORE", "XDG_CONFIG_HOME", "HOME"}) {
        const char* v = std::getenv(name);
        saved.emplace_back(name, v ? std::optional<std::string>(v) : std::nullopt);
        ::unsetenv(name);
    }
    EXPECT_EQ(machineStorePathFromEnvironment(), "/etc/lumara/machine.reg");
    for (const auto& [name, value, path] : {std::tuple{"HOME", "/home/u", "/home/u/.config/lumara/user.reg"},
                                            {"XDG_CONFIG_HOME", "/xdg", "/xdg/lumara/user.reg"},
                                            {"XDG_CONFIG_HOME", "relative", "/home/u/.config/lumara/user.reg"}}) {
        ::setenv(name, value, 1);
        EXPECT_EQ(userStorePathFromEnvironment(), path) << name << "=" << value;
    }
    ::setenv("LUMARA_USER_STORE", "/t/u.reg", 1);
    ::setenv("LUMARA_MACHINE_STORE", "/t/m.reg", 1);
    EXPECT_EQ(FileStore::fromEnvironment().fileOf(Hive::User), "/t/u.reg");
    EXPECT_EQ(FileStore::fromEnvironment().fileOf(Hive::Machine), "/t/m.reg");
    for (const auto& [name, value] : saved)
        if (value) ::setenv(name, value->c_str(), 1);
        else ::unsetenv(name);
}

// Loading never writes: a store holding a preset that cannot be read keeps
// every byte, and a load that began before another program's save does not
// put the older settings back when it ends.
TEST_F(FileStoreTest, ALoadLeavesTheFileAsItIsAndCannotUndoASave) {
    Settings s;
    s.Presets.resize(4);
    for (size_t i = 0; i < s.Presets.size(); ++i) s.Presets[i].Name = "p" + std::to_string(i);
    ASSERT_TRUE(SaveSettings(s, store).ok());
    ASSERT_TRUE(writeString(store.create(Hive::User, kProductKeyPath).get(), "PRESETb1", "damaged"));
    const std::string before = fileText(user);

    Settings loaded;
    LoadSettings(loaded, store, folders);
    std::vector<std::string> names;
    for (const Preset& p : loaded.Presets) names.push_back(p.Name);
    EXPECT_EQ(names, (std::vector<std::string>{"p0", "p2", "p3"}));
    EXPECT_EQ(fileText(user), before);

    {
        const auto loading = store.open(Hive::User, kProductKeyPath);
        EXPECT_FALSE(writeNumber(loading.get(), "StarsCount", 1));
        ASSERT_TRUE(saveStars(4321));
    }
    EXPECT_EQ(loadedStars(), 4321);
}

// Two processes save different settings over and over while this one reads:
// every read sees one whole save, and the file ends as one whole save.
TEST_F(FileStoreTest, ConcurrentSavesAndReadsNeverSeeAPartialStore) {
    // Each saver's record: its star count, and as many presets named after it.
    const std::map<int32_t, size_t> savers{{111, 6}, {222, 2}};
    std::vector<pid_t> children;
    for (const auto& [stars, presets] : savers) {
        children.push_back(::fork());
        ASSERT_GE(children.back(), 0);
        if (children.back() == 0) {
            FileStore own(user, dir + "/machine.reg");
            Settings s;
            s.StarsCount = stars;
            s.Presets.resize(presets);
            for (Preset& p : s.Presets) p.Name = std::to_string(stars);
            for (int round = 0; round < 60; ++round) (void)SaveSettings(s, own);
            ::_exit(0);
        }
    }
    auto whole = [&](const Settings& s) {
        if (s.StarsCount == 2000) return true;  // nothing saved yet
        if (!savers.count(s.StarsCount) || s.Presets.size() != savers.at(s.StarsCount)) return false;
        return std::all_of(s.Presets.begin(), s.Presets.end(),
                           [&](const Preset& p) { return p.Name == std::to_string(s.StarsCount); });
    };
    int reads = 0;
    bool allWhole = true;
    for (bool running = true; running; ++reads) {
        running = std::any_of(children.begin(), children.end(),
                              [](pid_t child) { return ::waitpid(child, nullptr, WNOHANG) == 0; });
        Settings s;
        LoadSettings(s, store, folders);
        allWhole = allWhole && whole(s);
    }
    EXPECT_TRUE(allWhole);
    EXPECT_GT(reads, 1);
    Settings last;
    LoadSettings(last, store, folders);
    EXPECT_NE(last.StarsCount, 2000);
    EXPECT_TRUE(whole(last));
    EXPECT_FALSE(std::filesystem::exists(user + ".damaged"));
}
