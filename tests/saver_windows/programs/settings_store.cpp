// The settings in the real registry: each value in its registry type and
// read back as written, a load opening the user key for reading only, a
// failed save putting every value back; and the program folder a first run
// makes.
#include <windows.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "settings/store_values.h"
#include "settings/stored_texts.h"
#include "test_program.h"

namespace {

FlightParameters& flight(Settings& s) { return s; }

// The registry type of a value of the saver's user key, 0 when it is absent.
DWORD storedType(const char* name) {
    DWORD type = 0;
    const LSTATUS found = RegGetValueA(HKEY_CURRENT_USER, kSaverKey, name, RRF_RT_ANY, &type, nullptr, nullptr);
    return found == ERROR_SUCCESS ? type : 0;
}

// The registry, but one value's writes fail.
class RefusingStore final : public Store {
public:
    explicit RefusingStore(std::string refused) : refused_(std::move(refused)) {}
    std::unique_ptr<StoreKey> open(Hive hive, std::string_view path) override { return registry_.open(hive, path); }
    std::unique_ptr<StoreKey> create(Hive hive, std::string_view path) override {
        std::unique_ptr<StoreKey> key = registry_.create(hive, path);
        return key ? std::make_unique<Key>(std::move(key), refused_) : nullptr;
    }

private:
    class Key final : public StoreKey {
    public:
        Key(std::unique_ptr<StoreKey> key, const std::string& refused) : key_(std::move(key)), refused_(refused) {}
        bool read(std::string_view name, ValueType& type, uint8_t* data, uint32_t& size) override {
            return key_->read(name, type, data, size);
        }
        bool has(std::string_view name) override { return key_->has(name); }
        bool write(std::string_view name, ValueType type, const uint8_t* data, uint32_t size) override {
            return name != refused_ && key_->write(name, type, data, size);
        }
        bool remove(std::string_view name) override { return key_->remove(name); }
        void revert() override { key_->revert(); }

    private:
        std::unique_ptr<StoreKey> key_;
        const std::string& refused_;
    };
    RegistryStore registry_;
    std::string refused_;
};

}  // namespace

// A first run without a recorded program folder makes one under Program Files.
TEST(Win32FolderSystem, AFirstRunMakesTheProgramFolder) {
    HKEY machine = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, kSaverKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &machine, nullptr),
              ERROR_SUCCESS);
    RegDeleteValueA(machine, "ProgramDir");
    RegCloseKey(machine);
    RegDeleteTreeA(HKEY_CURRENT_USER, kSaverKey);
    const std::string folder = storedSettings().ProgramDir;
    char programFiles[MAX_PATH] = {};
    ExpandEnvironmentStringsA("%ProgramFiles%", programFiles, MAX_PATH);
    EXPECT_EQ(folder, std::string(programFiles) + "\\Orvanta\\Lumara Screensaver");
    const DWORD attributes = GetFileAttributesA(folder.c_str());
    EXPECT_TRUE(attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY));
}

TEST(RegistryStore, KeepsEachValueInItsTypeAndReadsItBackWhereItFits) {
    RegDeleteTreeA(HKEY_CURRENT_USER, kSaverKey);  // a first run's: the factory presets
    RegistryStore store;
    Settings saved = storedSettings();
    flight(saved) = {12345, 321, -7, 42, 17, 33, 6, 3, true};
    saved.NURimages = {"C:\\pictures\\one.png", "C:\\pictures\\two \xE9t\xE9.jpg"};
    saved.BackSound = "C:\\sounds\\night.wav";
    saved.Presets.erase(saved.Presets.begin() + 1);
    saved.Presets[0].Name = "Mine";
    ASSERT_TRUE(SaveSettings(saved, store).ok());

    Settings back = storedSettings();
    EXPECT_TRUE(flight(back) == flight(saved));
    EXPECT_EQ(back.NURimages, saved.NURimages);
    EXPECT_EQ(back.BackSound, saved.BackSound);
    EXPECT_TRUE(back.Presets == saved.Presets);
    EXPECT_EQ(storedType("StarsCount"), REG_DWORD);
    EXPECT_EQ(storedType("BackSound"), REG_SZ);
    EXPECT_EQ(storedType("NURimages"), REG_MULTI_SZ);
    EXPECT_EQ(storedType("PRESETb0"), REG_BINARY);
    EXPECT_EQ(storedType("PRESETn2"), 0u);  // the deleted preset's values are gone

    // A text or list that fills its buffer reads whole; one byte more and
    // it reads as missing.
    const std::unique_ptr<StoreKey> key = store.create(Hive::User, kProductKeyPath);
    const std::string longest(readBufferOf(StoredText::BackSound) - 1, 'x');
    std::vector<std::string> fullList(99, std::string(99, 'p'));
    fullList.push_back(std::string(98, 'q'));
    ASSERT_EQ(storedSize(fullList), readBufferOf(StoredText::Pictures));
    writeString(key.get(), "BackSound", longest);
    writeMultiString(key.get(), "NURimages", fullList);
    EXPECT_EQ(storedSettings().BackSound, longest);
    EXPECT_EQ(storedSettings().NURimages, fullList);
    writeString(key.get(), "BackSound", longest + 'x');
    Settings fallback;
    ApplyFallbackDefaults(fallback);
    EXPECT_EQ(storedSettings().BackSound, fallback.BackSound);
}

TEST(RegistryStore, ALoadOpensTheUserKeyReadOnlyPassesOverAnUnreadablePresetAndChangesNothing) {
    RegDeleteTreeA(HKEY_CURRENT_USER, kSaverKey);  // a first run's: the factory presets
    RegistryStore store;
    Settings saved = storedSettings();
    ASSERT_TRUE(SaveSettings(saved, store).ok());
    EXPECT_FALSE(writeString(store.open(Hive::User, kProductKeyPath).get(), "PRESETb0", "damaged"));
    EXPECT_TRUE(writeString(store.create(Hive::User, kProductKeyPath).get(), "PRESETb0", "damaged"));
    const Settings passedOver = storedSettings();
    ASSERT_EQ(passedOver.Presets.size(), 2u);
    EXPECT_EQ(passedOver.Presets[0].Name, saved.Presets[1].Name);
    EXPECT_EQ(passedOver.Presets[1].Name, saved.Presets[2].Name);
    EXPECT_EQ(storedType("PRESETb0"), REG_SZ);
    EXPECT_EQ(storedType("PRESETn2"), REG_SZ);
}

// A save that fails after the checksum, a preset's deletion and a new recent
// sound were written puts every value back as it was.
TEST(RegistryStore, AFailedSavePutsEveryValueBack) {
    RegDeleteTreeA(HKEY_CURRENT_USER, kSaverKey);
    RegistryStore store;
    Settings saved = storedSettings();
    saved.BackSound = "C:\\sounds\\night.wav";
    saved.RecentSounds = {"C:\\sounds\\old.wav"};
    ASSERT_TRUE(SaveSettings(saved, store).ok());
    RefusingStore refusing("RECSOUND 1");
    Settings failing = saved;
    failing.StarsCount = 999;
    failing.Presets.pop_back();
    failing.BackSound = "C:\\sounds\\new.wav";
    EXPECT_FALSE(SaveSettings(failing, refusing).ok());
    Settings kept = storedSettings();
    EXPECT_TRUE(flight(kept) == flight(saved));
    EXPECT_TRUE(kept.Presets == saved.Presets);
    EXPECT_EQ(kept.RecentSounds, saved.RecentSounds);
    EXPECT_EQ(storedType("RECSOUND 2"), 0u);
}
