#include "settings/settings_store.h"

#include <algorithm>
#include <string_view>

#include "i18n/language_file.h"
#include "settings/preset_store.h"
#include "settings/store_values.h"

namespace {

// Read buffers, in bytes with the NUL.
constexpr size_t kSoundBuffer = Settings::kBackSoundCapacity;
constexpr size_t kPathBuffer = 1000;
constexpr size_t kImageListBuffer = 10000;

// Numbered values beyond this index are never read or tidied.
constexpr int kNumberedValueLimit = 255;

std::string recentSoundName(int index) { return "RECSOUND " + std::to_string(index); }

void readParameters(Settings& s, StoreKey& key, uint32_t& storedChecksum) {
    readNumber(key, "StarsCount", s.StarsCount);
    readNumber(key, "MoveSpeed", s.MoveSpeed);
    readNumber(key, "RotSpeed", s.RotSpeed);
    readNumber(key, "Smoothness", s.Smoothness);
    readNumber(key, "RoamFreq", s.RoamFreq);
    readNumber(key, "RoamMagn", s.RoamMagn);

    int32_t seed = 0;
    readNumber(key, "RandSeed", seed);
    storedChecksum = static_cast<uint32_t>(seed);

    s.AntiAliase = 0;
    readNumber(key, "AntiAliase", s.AntiAliase);
    readNumber(key, "Clouds", s.Clouds);

    int32_t useNur = 0;
    readNumber(key, "UseNUR", useNur);
    s.UseNUR = useNur != 0;

    if (!readString(key, "BackSound", kSoundBuffer, s.BackSound)) s.BackSound.clear();
}

void loadLanguage(Settings& s, FileReader& files) {
    if (s.Language.empty()) return;
    s.LanguageTable.path = s.Language;
    // A file that cannot be used leaves every text at its built-in value.
    if (LoadLanguageFile(s.LanguageTable, files)) s.LanguageTable.texts.clear();
}

void readPresets(Settings& s, StoreKey& key) {
    s.Presets.clear();
    int index = 0;
    for (;; ++index) {
        Preset preset;
        if (!ReadPreset(index, key, preset)) break;
        s.Presets.push_back(std::move(preset));
    }
    // The first preset that failed and any left over after it are removed.
    while (index < kNumberedValueLimit && DeletePresetValues(index, &key)) ++index;
}

void readRecentSounds(Settings& s, StoreKey& key) {
    for (int i = 0; i < kNumberedValueLimit; ++i) {
        std::string path;
        if (!readString(key, recentSoundName(i), kSoundBuffer, path)) break;
        s.RecentSounds.push_back(std::move(path));
    }
}

void writeUserValues(Settings& s, StoreKey* key) {
    writeNumber(key, "StarsCount", static_cast<uint32_t>(s.StarsCount));
    writeNumber(key, "MoveSpeed", static_cast<uint32_t>(s.MoveSpeed));
    writeNumber(key, "RotSpeed", static_cast<uint32_t>(s.RotSpeed));
    writeNumber(key, "Smoothness", static_cast<uint32_t>(s.Smoothness));
    writeNumber(key, "RoamFreq", static_cast<uint32_t>(s.RoamFreq));
    writeNumber(key, "RoamMagn", static_cast<uint32_t>(s.RoamMagn));
    writeNumber(key, "RandSeed", SettingsChecksum(s));
    writeNumber(key, "AntiAliase", static_cast<uint32_t>(s.AntiAliase));
    writeNumber(key, "Clouds", static_cast<uint32_t>(s.Clouds));
    writeString(key, "BackSound", s.BackSound);
    writeString(key, "Language", s.Language);
    writeString(key, "HelpFile", s.HelpFile);
    writeNumber(key, "UseNUR", s.UseNUR ? 1u : 0u);
    writeMultiString(key, "NURimages", s.NURimages);

    const int count = static_cast<int>(s.Presets.size());
    for (int i = 0; i < count; ++i) WritePreset(i, s.Presets[static_cast<size_t>(i)], key);
    for (int i = count; i < kNumberedValueLimit && DeletePresetValues(i, key); ++i) {
    }

    if (s.BackSound.size() >= 2) AddRecentSound(s.RecentSounds, s.BackSound, s.RecentSoundsLimit);
    const int sounds = static_cast<int>(s.RecentSounds.size());
    for (int i = 0; i < sounds; ++i) writeString(key, recentSoundName(i), s.RecentSounds[static_cast<size_t>(i)]);
    for (int i = sounds; i < kNumberedValueLimit && deleteValue(key, recentSoundName(i)); ++i) {
    }
}

}  // namespace

void LoadSettings(Settings& s, Store& store, FolderSystem& folders) {
    s.RecentSounds.clear();
    uint32_t storedChecksum = 0;

    if (auto user = store.open(Hive::User, kProductKeyPath)) {
        readParameters(s, *user, storedChecksum);
        readString(*user, "Language", kPathBuffer, s.Language);
        loadLanguage(s, folders);
        if (!readString(*user, "HelpFile", kPathBuffer, s.HelpFile)) s.HelpFile.clear();
        if (!readMultiString(*user, "NURimages", kImageListBuffer, s.NURimages)) s.NURimages.clear();
        readPresets(s, *user);
        readRecentSounds(s, *user);
    }

    if (auto machine = store.open(Hive::Machine, kProductKeyPath)) LocateProgramDir(s, *machine, folders);
    ScanProgramDir(s, folders);

    if (s.Presets.empty()) AddFactoryPresets(s);
    if (SettingsChecksum(s) != storedChecksum) ApplyFallbackDefaults(s);
}

void SaveSettings(Settings& s, Store& store) {
    {
        const auto user = store.create(Hive::User, kProductKeyPath);
        writeUserValues(s, user.get());
    }
    const auto machine = store.create(Hive::Machine, kProductKeyPath);
    writeString(machine.get(), "ProgramDir", s.ProgramDir);
}

void AddRecentSound(std::vector<std::string>& list, const std::string& path, int32_t limit) {
    const auto found = std::find(list.begin(), list.end(), path);
    if (found != list.end()) list.erase(found);
    else if (!list.empty() && list.size() == static_cast<size_t>(limit)) list.pop_back();
    list.insert(list.begin(), path);
}
