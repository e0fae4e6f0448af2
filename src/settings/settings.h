#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "i18n/language_table.h"
#include "settings/preset.h"
#include "settings/setting_table.h"
#include "settings/stored_texts.h"

// Every parameter of the saver: the picture parameters of the table and
// everything else. Plain values with deep copies: the dialog resets the
// shared record by assigning a freshly constructed one.
struct Settings : FlightParameters {
    // BackSound is a fixed text field: at most this many bytes with its NUL.
    static constexpr size_t kBackSoundCapacity = readBufferOf(StoredText::BackSound);

    Settings() : FlightParameters(flightFromTable(&SettingInfo::initial)) {}

    std::vector<Preset> Presets;
    std::string BackSound;  // "" none, "D" built-in music, else a file path
    std::vector<std::string> RecentSounds;  // newest first
    int32_t RecentSoundsLimit = 10;
    std::vector<std::string> NURimages;
    ::LanguageTable LanguageTable;  // the loaded language file
    std::string Language;     // "" = built-in English
    std::string ProgramDir;
    std::string HelpFile;
    std::vector<std::string> LanguageFiles;
    std::vector<std::string> HelpFiles;
};

// Guards the nine numeric fields in the store: a mismatch brings the fallbacks.
uint32_t SettingsChecksum(const Settings& s);

// The flight a first run gets: only the numeric fields, the distribution
// switch and the sound choice change.
void ApplyFallbackDefaults(Settings& s);
