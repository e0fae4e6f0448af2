#include "settings/settings_store.h"

#include <algorithm>
#include <string_view>

#include "i18n/language_file.h"
#include "i18n/load_text.h"
#include "settings/preset_store.h"
#include "settings/store_values.h"
#include "ui/dialog_ids.h"

namespace {

// The name the checksum is stored under.
constexpr std::string_view kChecksumValueName = "RandSeed";

// Recent sounds beyond this index are never read or tidied.
constexpr int kNumberedValueLimit = 255;

// Room for the longest line a language file can give a text.
constexpr size_t kMessageBuffer = kLanguageLineLimit + 1;

std::string recentSoundName(int index) { return "RECSOUND " + std::to_string(index); }

void noteFailure(std::string& failed, std::string_view name) {
    if (failed.empty()) failed = name;
}

void readGroup(Settings& s, StoreKey& key, StoreGroup group) {
    for (const SettingInfo& setting : kFlightSettings) {
        if (setting.group != group) continue;
        int32_t value = setting.zeroWhenMissing ? 0 : setting.get(s);
        readNumber(key, setting.storedName, value);
        setting.set(s, value);
    }
}

// Writes every value of the group; the name of the first that failed stays
// in `failed`.
void writeGroup(const Settings& s, StoreKey* key, StoreGroup group, std::string& failed) {
    for (const SettingInfo& setting : kFlightSettings)
        if (setting.group == group && !writeNumber(key, setting.storedName, static_cast<uint32_t>(setting.get(s))))
            noteFailure(failed, setting.storedName);
}

void readParameters(Settings& s, StoreKey& key, uint32_t& storedChecksum) {
    readGroup(s, key, StoreGroup::Motion);
    int32_t checksum = 0;
    readNumber(key, kChecksumValueName, checksum);
    storedChecksum = static_cast<uint32_t>(checksum);
    readGroup(s, key, StoreGroup::Picture);
    readGroup(s, key, StoreGroup::Switch);
    if (!readString(key, "BackSound", readBufferOf(StoredText::BackSound), s.BackSound)) s.BackSound.clear();
}

void loadLanguage(Settings& s, FileReader& files) {
    if (s.Language.empty()) return;
    s.LanguageTable.path = s.Language;
    // A file that cannot be used leaves every text at its built-in value.
    if (!LoadLanguageFile(s.LanguageTable, files).ok()) s.LanguageTable.texts.clear();
}

// A preset that cannot be read is passed over, so one damaged preset costs
// no other; the list ends at the first index that holds none of a preset's
// values, where saving stops tidying too.
void readPresets(Settings& s, StoreKey& key) {
    s.Presets.clear();
    for (int index = 0; PresetValuesExist(index, key); ++index) {
        Preset preset;
        if (ReadPreset(index, key, preset)) s.Presets.push_back(std::move(preset));
    }
}

void readRecentSounds(Settings& s, StoreKey& key) {
    for (int i = 0; i < kNumberedValueLimit; ++i) {
        std::string path;
        if (!readString(key, recentSoundName(i), readBufferOf(StoredText::RecentSound), path)) break;
        s.RecentSounds.push_back(std::move(path));
    }
}

// Writes every user value in store order; the name of the first value that
// could not be written, or "" when all were.
std::string writeUserValues(const Settings& s, const std::vector<std::string>& recentSounds, StoreKey& key) {
    std::string failed;
    const auto check = [&failed](bool written, std::string_view name) {
        if (!written) noteFailure(failed, name);
    };
    writeGroup(s, &key, StoreGroup::Motion, failed);
    check(writeNumber(&key, kChecksumValueName, SettingsChecksum(s)), kChecksumValueName);
    writeGroup(s, &key, StoreGroup::Picture, failed);
    check(writeString(&key, "BackSound", s.BackSound), "BackSound");
    check(writeString(&key, "Language", s.Language), "Language");
    check(writeString(&key, "HelpFile", s.HelpFile), "HelpFile");
    writeGroup(s, &key, StoreGroup::Switch, failed);
    check(writeMultiString(&key, "NURimages", s.NURimages), "NURimages");

    const int count = static_cast<int>(s.Presets.size());
    for (int i = 0; i < count; ++i)
        check(WritePreset(i, s.Presets[static_cast<size_t>(i)], &key), "PRESETb" + std::to_string(i));
    for (int i = count; DeletePresetValues(i, &key); ++i) {
    }

    const int sounds = static_cast<int>(recentSounds.size());
    for (int i = 0; i < sounds; ++i)
        check(writeString(&key, recentSoundName(i), recentSounds[static_cast<size_t>(i)]), recentSoundName(i));
    for (int i = sounds; i < kNumberedValueLimit && deleteValue(&key, recentSoundName(i)); ++i) {
    }
    return failed;
}

// Why a save failed, in the settings' language: text `id` with the stored
// value's name in place of its "%1".
std::string failureText(const Settings& s, uint32_t id, std::string_view valueName = {}) {
    char buffer[kMessageBuffer];
    std::string text(buffer, LoadText(s.LanguageTable, id, buffer, sizeof buffer));
    if (const size_t at = text.find("%1"); at != std::string::npos) text.replace(at, 2, valueName);
    return text;
}

// The stored name of the first text of the record that would not load back
// whole, or "" when every one fits.
std::string firstTooLong(const Settings& s, const std::vector<std::string>& recentSounds) {
    const auto name = [](StoredText text, size_t index) {
        return std::string(storedTextInfo(text).storedName) + std::to_string(index);
    };
    const std::pair<StoredText, const std::string*> texts[] = {
        {StoredText::BackSound, &s.BackSound}, {StoredText::Language, &s.Language}, {StoredText::HelpFile, &s.HelpFile}};
    for (const auto& [text, value] : texts)
        if (!fitsStore(text, *value)) return std::string(storedTextInfo(text).storedName);
    if (!fitsStore(StoredText::Pictures, s.NURimages)) return std::string(storedTextInfo(StoredText::Pictures).storedName);
    for (size_t i = 0; i < s.Presets.size(); ++i) {
        const Preset& p = s.Presets[i];
        if (!fitsStore(StoredText::PresetPictures, p.NURimages)) return name(StoredText::PresetPictures, i);
        if (!fitsStore(StoredText::PresetSound, p.BackSound)) return name(StoredText::PresetSound, i);
        if (!fitsStore(StoredText::PresetName, p.Name)) return name(StoredText::PresetName, i);
    }
    for (size_t i = 0; i < recentSounds.size(); ++i)
        if (!fitsStore(StoredText::RecentSound, recentSounds[i])) return name(StoredText::RecentSound, i);
    return "";
}

}  // namespace

void LoadSettings(Settings& s, Store& store, FolderSystem& folders) {
    s.RecentSounds.clear();
    uint32_t storedChecksum = 0;

    if (auto user = store.open(Hive::User, kProductKeyPath)) {
        readParameters(s, *user, storedChecksum);
        readString(*user, "Language", readBufferOf(StoredText::Language), s.Language);
        loadLanguage(s, folders);
        if (!readString(*user, "HelpFile", readBufferOf(StoredText::HelpFile), s.HelpFile)) s.HelpFile.clear();
        if (!readMultiString(*user, "NURimages", readBufferOf(StoredText::Pictures), s.NURimages))
            s.NURimages.clear();
        readPresets(s, *user);
        readRecentSounds(s, *user);
    }

    if (auto machine = store.open(Hive::Machine, kProductKeyPath)) LocateProgramDir(s, *machine, folders);
    ScanProgramDir(s, folders);

    if (s.Presets.empty()) AddFactoryPresets(s);
    if (SettingsChecksum(s) != storedChecksum) ApplyFallbackDefaults(s);
}

// The sound history is saved from a copy and takes its new order only when
// the save succeeded, so a failed save leaves the record as it was. A user
// key whose values did not all reach the store is put back as it was: the
// checksum stored early would otherwise stop matching the values beside it,
// and the next load would fall back to the defaults. The machine key is
// written only once the user's values are all kept, so a failed save writes
// nothing anywhere; a machine key that cannot be written fails nothing.
Outcome SaveSettings(Settings& s, Store& store) {
    std::vector<std::string> recentSounds = s.RecentSounds;
    if (s.BackSound.size() >= 2) AddRecentSound(recentSounds, s.BackSound, s.RecentSoundsLimit);
    Outcome saved;
    if (const std::string tooLong = firstTooLong(s, recentSounds); !tooLong.empty()) {
        saved = Outcome::failure(failureText(s, dlg::kValueTooLong, tooLong));
    } else if (const auto user = store.create(Hive::User, kProductKeyPath); !user) {
        saved = Outcome::failure(failureText(s, dlg::kStoreNotOpened));
    } else if (const std::string failed = writeUserValues(s, recentSounds, *user); !failed.empty()) {
        user->revert();
        saved = Outcome::failure(failureText(s, dlg::kValueNotWritten, failed));
    } else if (!user->commit()) {
        user->revert();
        saved = Outcome::failure(failureText(s, dlg::kStoreNotWritten));
    }
    if (!saved.ok()) return saved;
    if (fitsStore(StoredText::ProgramDir, s.ProgramDir)) {
        const auto machine = store.create(Hive::Machine, kProductKeyPath);
        writeString(machine.get(), "ProgramDir", s.ProgramDir);
    }
    s.RecentSounds = std::move(recentSounds);
    return saved;
}

void AddRecentSound(std::vector<std::string>& list, const std::string& path, int32_t limit) {
    const auto found = std::find(list.begin(), list.end(), path);
    if (found != list.end()) list.erase(found);
    else if (!list.empty() && list.size() == static_cast<size_t>(limit)) list.pop_back();
    list.insert(list.begin(), path);
}
