// The settings store in the real registry.
//   settings_tool roundtrip        SaveSettings and LoadSettings agree, value by value
//   settings_tool save NAME=N ...  stores a first run's flight with the given numbers
// Exit 0 when every check holds (or the save is done), 1 otherwise.
#include <windows.h>

#include "test_program.h"

#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/win32/registry_store.h"
#include "platform/win32/win32_folder_system.h"
#include "settings/settings_store.h"
#include "settings/store_values.h"

namespace {

void forgetUserKey() { RegDeleteTreeA(HKEY_CURRENT_USER, kSaverKey); }

// The machine key as an installer leaves it: present, no folder recorded.
void installMachineKey() {
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, kSaverKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return;
    RegDeleteValueA(key, "ProgramDir");
    RegCloseKey(key);
}

FlightParameters& flight(Settings& s) { return s; }

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

Settings loaded(Store& store, FolderSystem& folders) {
    Settings s;
    LoadSettings(s, store, folders);
    return s;
}

int roundTrip() {
    RegistryStore store;
    Win32FolderSystem folders;
    forgetUserKey();
    installMachineKey();

    // A first run: no user key, the factory presets, the program folder made.
    Settings saved = loaded(store, folders);
    CHECK(saved.Presets.size() == 3);
    const std::string folderEnd = "\\Orvanta\\Lumara Screensaver";
    CHECK(saved.ProgramDir.size() > folderEnd.size() + 2 &&
          saved.ProgramDir.substr(saved.ProgramDir.size() - folderEnd.size()) == folderEnd);
    const DWORD folder = GetFileAttributesA(saved.ProgramDir.c_str());
    CHECK(folder != INVALID_FILE_ATTRIBUTES && (folder & FILE_ATTRIBUTE_DIRECTORY));

    flight(saved) = {12345, 321, -7, 42, 17, 33, 6, 3, true};
    saved.NURimages = {"C:\\pictures\\one.png", "C:\\pictures\\two \xE9t\xE9.jpg"};
    saved.BackSound = "C:\\sounds\\night.wav";
    saved.RecentSounds = {"C:\\sounds\\old.wav"};
    saved.HelpFile = "C:\\help\\lumara.chm";
    saved.Presets.erase(saved.Presets.begin() + 1);
    saved.Presets[0].Name = "Mine";
    CHECK(SaveSettings(saved, store).ok());
    CHECK((saved.RecentSounds == std::vector<std::string>{"C:\\sounds\\night.wav", "C:\\sounds\\old.wav"}));

    Settings back = loaded(store, folders);
    CHECK(flight(back) == flight(saved));
    CHECK(back.NURimages == saved.NURimages);
    CHECK(back.BackSound == saved.BackSound);
    CHECK(back.RecentSounds == saved.RecentSounds);
    CHECK(back.HelpFile == saved.HelpFile);
    CHECK(back.Presets == saved.Presets);
    CHECK(back.ProgramDir == saved.ProgramDir);

    // The registry's own types.
    const HKEY key = openUserKey();
    CHECK(storedType(key, "StarsCount") == REG_DWORD);
    CHECK(storedType(key, "BackSound") == REG_SZ);
    CHECK(storedType(key, "NURimages") == REG_MULTI_SZ);
    CHECK(storedType(key, "RECSOUND 1") == REG_SZ);
    CHECK(storedType(key, "PRESETn2") == 0);  // the deleted preset's values are gone
    RegCloseKey(key);

    // A save that fails after the checksum, a preset's deletion and a new
    // recent sound were written puts every value back as it was.
    RefusingStore refusing("RECSOUND 1");
    Settings failing = back;
    failing.StarsCount = 999;
    failing.Presets.pop_back();
    failing.BackSound = "C:\\sounds\\new.wav";
    CHECK(!SaveSettings(failing, refusing).ok());
    Settings kept = loaded(store, folders);
    CHECK(flight(kept) == flight(saved));
    CHECK(kept.Presets == saved.Presets);
    CHECK(kept.RecentSounds == saved.RecentSounds);
    const HKEY reverted = openUserKey();
    CHECK(storedType(reverted, "RECSOUND 2") == 0);
    RegCloseKey(reverted);

    // Loading opens the key for reading only, passes over a preset it cannot
    // read and leaves every value as it was.
    back.Presets.push_back(back.Presets[0]);
    back.Presets.back().Name = "Third";
    CHECK(SaveSettings(back, store).ok());
    CHECK(!writeString(store.open(Hive::User, kProductKeyPath).get(), "PRESETb0", "damaged"));
    CHECK(writeString(store.create(Hive::User, kProductKeyPath).get(), "PRESETb0", "damaged"));
    Settings passedOver = loaded(store, folders);
    CHECK(passedOver.Presets.size() == 2 && passedOver.Presets[0].Name == back.Presets[1].Name &&
          passedOver.Presets[1].Name == "Third");
    const HKEY after = openUserKey();
    CHECK(storedType(after, "PRESETb0") == REG_SZ);
    CHECK(storedType(after, "PRESETn2") == REG_SZ);
    RegCloseKey(after);

    // A text too long for its buffer reads as missing.
    writeString(store.create(Hive::User, kProductKeyPath).get(), "BackSound", std::string(400, 'x'));
    Settings damaged = loaded(store, folders);
    Settings fallback;
    ApplyFallbackDefaults(fallback);
    CHECK(damaged.BackSound.empty() || damaged.BackSound == fallback.BackSound);

    forgetUserKey();
    return report();
}

int save(int count, char** assignments) {
    RegistryStore store;
    Settings s;
    ApplyFallbackDefaults(s);
    for (int i = 0; i < count; ++i) {
        const char* equals = std::strchr(assignments[i], '=');
        const SettingInfo* setting =
            equals ? findFlightSetting(std::string_view(assignments[i], static_cast<size_t>(equals - assignments[i])))
                   : nullptr;
        if (!setting) {
            std::printf("not a stored number: %s\n", assignments[i]);
            return 1;
        }
        setting->set(s, std::atoi(equals + 1));
    }
    return SaveSettings(s, store).ok() ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc >= 2 && std::strcmp(argv[1], "roundtrip") == 0) return roundTrip();
    if (argc >= 2 && std::strcmp(argv[1], "save") == 0) return save(argc - 2, argv + 2);
    std::printf("usage: settings_tool roundtrip | save NAME=VALUE ...\n");
    return 2;
}
