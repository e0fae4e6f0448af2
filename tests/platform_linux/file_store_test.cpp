#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/linux/file_store.h"
#include "platform/linux/linux_folder_system.h"
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

}  // namespace

TEST(FileStore, RoundTripsEveryValueTypeAsReadableRegedit4) {
    const std::string dir = freshTestFolder();
    FileStore store(dir + "/user.reg", dir + "/machine.reg");
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
    const std::string text = fileText(dir + "/user.reg");
    EXPECT_EQ(text.rfind("REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Tellix\\VEXA]\r\n", 0), 0u);
    EXPECT_NE(text.find("\"BackSound\"=\"C:\\\\x\\\\\\\"q\\\".wav\"\r\n"), std::string::npos);
    EXPECT_NE(text.find("\"StarsCount\"=dword:00001388\r\n"), std::string::npos);
    EXPECT_NE(text.find("\"RotSpeed\"=dword:ffffffe7\r\n"), std::string::npos);
    EXPECT_NE(text.find("\"NURimages\"=hex(7):61,2e,62,6d,70,00,62,2e,70,6e,67,00,00\r\n"), std::string::npos);
    EXPECT_NE(text.find("\"PRESETi0\"=hex(7):00\r\n"), std::string::npos);
    EXPECT_NE(text.find("\"Odd\"=hex(1):61,0a,62,00\r\n"), std::string::npos);
    EXPECT_NE(text.find(",\\\r\n  "), std::string::npos);  // the long binary value wraps

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
}

TEST(FileStore, ReadsAWindowsExportAsItIs) {
    const std::string dir = freshTestFolder();
    writeText(dir + "/user.reg",
              "REGEDIT4\r\n\r\n"
              "[HKEY_CURRENT_USER\\Software\\Other]\r\n\"Keep\"=\"me\"\r\n\r\n"
              "; a comment\r\n"
              "[HKEY_CURRENT_USER\\SOFTWARE\\Tellix\\VEXA]\r\n"
              "\"StarsCount\"=dword:00000100\r\n"
              "\"NURimages\"=hex(7):43,3a,5c,61,2e,62,6d,70,00,\\\r\n"
              "  00\r\n"
              "@=\"default\"\r\n"
              "\"Path\"=hex(2):25,00\r\n\r\n");
    FileStore store(dir + "/user.reg", dir + "/machine.reg");
    {
        const auto key = store.open(Hive::User, kProductKeyPath);
        ASSERT_TRUE(key);
        int32_t stars = 0;
        ASSERT_TRUE(readNumber(*key, "StarsCount", stars));
        EXPECT_EQ(stars, 256);
        std::vector<std::string> images;
        ASSERT_TRUE(readMultiString(*key, "NURimages", 10000, images));
        EXPECT_EQ(images, std::vector<std::string>{"C:\\a.bmp"});
        EXPECT_EQ(static_cast<uint32_t>(readValue(*key, "Path").type), 2u);
        writeNumber(key.get(), "StarsCount", 300);
    }
    // Writing back keeps the other key and the values this program does not know.
    const auto parsed = parseRegistryFile(fileText(dir + "/user.reg"));
    ASSERT_TRUE(parsed);
    ASSERT_EQ(parsed->sections.size(), 2u);
    EXPECT_TRUE(parsed->sections[0].find("Keep"));
    EXPECT_TRUE(parsed->sections[1].find(""));
    EXPECT_EQ(parsed->sections[1].find("Path")->data, (std::vector<uint8_t>{0x25, 0}));
}

TEST(FileStore, AbsentUserHiveHasNoKeyButTheMachineKeyAlwaysOpens) {
    const std::string dir = freshTestFolder();
    FileStore store(dir + "/user.reg", dir + "/machine.reg");
    EXPECT_FALSE(store.open(Hive::User, kProductKeyPath));
    EXPECT_TRUE(store.open(Hive::Machine, kProductKeyPath));
    { store.create(Hive::User, "Software\\Tellix"); }
    EXPECT_TRUE(store.open(Hive::User, "Software"));  // a key exists with its subkeys
    EXPECT_FALSE(store.open(Hive::User, kProductKeyPath));
    // Opening and reading writes nothing.
    EXPECT_FALSE(std::filesystem::exists(dir + "/machine.reg"));
}

TEST(FileStore, CreateMakesTheFolderAndUnwritableHivesFailCreate) {
    const std::string dir = freshTestFolder();
    writeText(dir + "/plain-file", "x");
    FileStore store(dir + "/a/b/user.reg", dir + "/plain-file/machine.reg");
    EXPECT_TRUE(store.create(Hive::User, kProductKeyPath));
    EXPECT_TRUE(std::filesystem::exists(dir + "/a/b/user.reg"));
    EXPECT_FALSE(store.create(Hive::Machine, kProductKeyPath));

    Settings s;
    s.ProgramDir = "/opt/lumara";
    EXPECT_TRUE(SaveSettings(s, store).ok());  // the machine write fails silently
    EXPECT_TRUE(store.open(Hive::User, kProductKeyPath));
}

TEST(FileStore, ASaveThatCannotReachTheUserFileFails) {
    const std::string dir = freshTestFolder();
    std::filesystem::create_directories(dir + "/user.reg");
    FileStore store(dir + "/user.reg", dir + "/machine.reg");
    Settings s;
    EXPECT_FALSE(SaveSettings(s, store).ok());
}

TEST(FileStore, UnreadableFileCannotBeOpened) {
    const std::string dir = freshTestFolder();
    std::filesystem::create_directories(dir + "/folder.reg");
    FileStore folderStore(dir + "/folder.reg", dir + "/folder.reg");
    EXPECT_FALSE(folderStore.open(Hive::User, kProductKeyPath));
    EXPECT_FALSE(folderStore.open(Hive::Machine, kProductKeyPath));
    EXPECT_FALSE(folderStore.create(Hive::User, kProductKeyPath));

    if (::geteuid() == 0) GTEST_SKIP() << "file permissions do not bind root";
    FileStore store(dir + "/user.reg", dir + "/machine.reg");
    { store.create(Hive::User, kProductKeyPath); }
    ::chmod((dir + "/user.reg").c_str(), 0);
    EXPECT_FALSE(store.open(Hive::User, kProductKeyPath));
    EXPECT_FALSE(store.create(Hive::User, kProductKeyPath));
}

TEST(FileStore, DamagedFileReadsEmptyAndIsKeptWhenASaveReplacesIt) {
    const std::string dir = freshTestFolder();
    const std::string user = dir + "/user.reg";
    FileStore store(user, dir + "/machine.reg");
    LinuxFolderSystem folders(dir + "/bin/lumara");
    for (const std::string damage : {"not a registry file\n", "REGEDIT4\n\"orphan\"=dword:1\n"}) {
        writeText(user, damage);
        Settings loaded;
        LoadSettings(loaded, store, folders);
        EXPECT_EQ(loaded.StarsCount, 2000);  // as on a first run
        EXPECT_EQ(fileText(user), damage);   // loading changes nothing
        Settings s;
        s.StarsCount = 4321;
        EXPECT_TRUE(SaveSettings(s, store).ok());
    }
    EXPECT_EQ(fileText(user + ".damaged"), "not a registry file\n");
    EXPECT_EQ(fileText(user + ".damaged.1"), "REGEDIT4\n\"orphan\"=dword:1\n");
    Settings back;
    LoadSettings(back, store, folders);
    EXPECT_EQ(back.StarsCount, 4321);
    // Only the two hives and the kept copies are left: no temporary files.
    size_t entries = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir)) ++entries;
    EXPECT_EQ(entries, 4u);
}

// A save that was killed leaves its temporary file behind; the next save
// takes it over, so nothing is left beside the store afterwards.
TEST(FileStore, ASaveAfterACrashedOneLeavesNoTemporaryFile) {
    const std::string dir = freshTestFolder();
    const std::string user = dir + "/user.reg";
    FileStore store(user, dir + "/machine.reg");
    Settings first;
    first.StarsCount = 1111;
    ASSERT_TRUE(SaveSettings(first, store).ok());
    writeText(user + ".tmp", std::string(100000, 'x'));  // what the killed save had written
    Settings second;
    second.StarsCount = 2222;
    ASSERT_TRUE(SaveSettings(second, store).ok());

    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(dir)) names.push_back(e.path().filename());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"machine.reg", "user.reg"}));
    Settings back;
    LinuxFolderSystem folders(dir + "/bin/lumara");
    LoadSettings(back, store, folders);
    EXPECT_EQ(back.StarsCount, 2222);

    // Something else under the temporary name is cleared away, not written into.
    ASSERT_EQ(::mkfifo((user + ".tmp").c_str(), 0600), 0);
    ASSERT_TRUE(SaveSettings(first, store).ok());
    LoadSettings(back, store, folders);
    EXPECT_EQ(back.StarsCount, 1111);
    EXPECT_FALSE(std::filesystem::exists(user + ".tmp"));
}

// Dotfile managers keep the store elsewhere and link to it: a save writes
// through the link, which stays, and nothing is left in either folder.
TEST(FileStore, ASymbolicallyLinkedStoreStaysALinkWithTheNewContentsAtItsTarget) {
    const std::string dir = freshTestFolder();
    std::filesystem::create_directories(dir + "/config");
    std::filesystem::create_directories(dir + "/dotfiles");
    const std::string user = dir + "/config/user.reg";
    const std::string target = dir + "/dotfiles/lumara.reg";
    std::filesystem::create_symlink("../dotfiles/lumara.reg", user);  // not there yet
    FileStore store(user, dir + "/config/machine.reg");
    LinuxFolderSystem folders(dir + "/bin/lumara");
    for (int32_t stars : {3333, 4444}) {
        Settings s;
        s.StarsCount = stars;
        ASSERT_TRUE(SaveSettings(s, store).ok());
        EXPECT_TRUE(std::filesystem::is_symlink(user));
        EXPECT_NE(fileText(target).find("\"StarsCount\"=dword:" + std::string(stars == 3333 ? "00000d05" : "0000115c")),
                  std::string::npos);
        Settings back;
        LoadSettings(back, store, folders);
        EXPECT_EQ(back.StarsCount, stars);
    }
    size_t entries = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir + "/dotfiles")) ++entries;
    EXPECT_EQ(entries, 1u);
}

TEST(FileStore, PathsComeFromTheEnvironment) {
    const char* names[] = {"LUMARA_USER_STORE", "LUMARA_MACHINE_STORE", "XDG_CONFIG_HOME", "HOME"};
    std::string saved[4];
    bool had[4];
    for (int i = 0; i < 4; ++i) {
        const char* v = std::getenv(names[i]);
        had[i] = v != nullptr;
        saved[i] = v ? v : "";
    }
    ::setenv("HOME", "/home/u", 1);
    ::unsetenv("LUMARA_USER_STORE");
    ::unsetenv("LUMARA_MACHINE_STORE");
    ::unsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(userStorePathFromEnvironment(), "/home/u/.config/lumara/user.reg");
    EXPECT_EQ(machineStorePathFromEnvironment(), "/etc/lumara/machine.reg");
    ::setenv("XDG_CONFIG_HOME", "/xdg", 1);
    EXPECT_EQ(userStorePathFromEnvironment(), "/xdg/lumara/user.reg");
    ::setenv("XDG_CONFIG_HOME", "relative", 1);
    EXPECT_EQ(userStorePathFromEnvironment(), "/home/u/.config/lumara/user.reg");
    ::setenv("LUMARA_USER_STORE", "/t/u.reg", 1);
    ::setenv("LUMARA_MACHINE_STORE", "/t/m.reg", 1);
    EXPECT_EQ(FileStore::fromEnvironment().fileOf(Hive::User), "/t/u.reg");
    EXPECT_EQ(FileStore::fromEnvironment().fileOf(Hive::Machine), "/t/m.reg");
    for (int i = 0; i < 4; ++i) {
        if (had[i]) ::setenv(names[i], saved[i].c_str(), 1);
        else ::unsetenv(names[i]);
    }
}

// Two processes save different settings over and over while this one reads:
// every read sees one whole save, and the file ends as one whole save.
TEST(FileStore, ConcurrentSavesAndReadsNeverSeeAPartialStore) {
    const std::string dir = freshTestFolder();
    const std::string user = dir + "/user.reg";
    const std::string machine = dir + "/machine.reg";
    auto saver = [&](int32_t stars, size_t presets) {
        FileStore store(user, machine);
        Settings s;
        s.StarsCount = stars;
        s.Presets.resize(presets);
        for (size_t i = 0; i < presets; ++i) s.Presets[i].Name = std::to_string(stars);
        for (int round = 0; round < 60; ++round) (void)SaveSettings(s, store);
    };
    pid_t children[2];
    for (int c = 0; c < 2; ++c) {
        children[c] = ::fork();
        ASSERT_GE(children[c], 0);
        if (children[c] == 0) {
            saver(c == 0 ? 111 : 222, c == 0 ? 6 : 2);
            ::_exit(0);
        }
    }
    auto checkWhole = [](const Settings& s) {
        if (s.StarsCount == 2000) return true;  // nothing saved yet
        const size_t presets = s.StarsCount == 111 ? 6 : 2;
        if (s.Presets.size() != presets) return false;
        for (const Preset& p : s.Presets)
            if (p.Name != std::to_string(s.StarsCount)) return false;
        return true;
    };
    FileStore reader(user, machine);
    LinuxFolderSystem folders(dir + "/bin/lumara");
    int reads = 0;
    bool allWhole = true;
    for (bool running = true; running;) {
        running = false;
        for (pid_t child : children)
            if (::waitpid(child, nullptr, WNOHANG) == 0) running = true;
        Settings s;
        LoadSettings(s, reader, folders);
        allWhole = allWhole && checkWhole(s);
        ++reads;
    }
    EXPECT_TRUE(allWhole);
    EXPECT_GT(reads, 1);
    Settings last;
    LoadSettings(last, reader, folders);
    EXPECT_TRUE(last.StarsCount == 111 || last.StarsCount == 222);
    EXPECT_TRUE(checkWhole(last));
    EXPECT_FALSE(std::filesystem::exists(user + ".damaged"));
}
