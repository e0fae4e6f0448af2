#pragma once
#include <array>
#include <cstdint>

#include "settings/preset.h"
#include "settings/settings.h"
#include "settings/store.h"

// A preset is stored as four values under the user key: "PRESETb<i>" the
// numeric block, "PRESETi<i>" the picture list, "PRESETs<i>" the sound and
// "PRESETn<i>" the name, <i> the list position in decimal.

// The numeric block: the eight numbers little-endian, the switch at byte 32,
// three bytes of padding.
inline constexpr size_t kPresetBlockSize = 36;
std::array<uint8_t, kPresetBlockSize> encodePresetBlock(const Preset& preset);

// True when all four values of `index` were read and accepted, in store
// order; stops at the first that is missing, too large or of another type.
bool ReadPreset(int index, StoreKey& key, Preset& preset);

// Writes the four values, all of them even when one fails; true when all
// were written.
bool WritePreset(int index, const Preset& preset, StoreKey* key);

// Deletes the four values; true when at least one of them existed.
bool DeletePresetValues(int index, StoreKey* key);

// True when at least one of the four values of `index` exists.
bool PresetValuesExist(int index, StoreKey& key);

// Copy the eleven picture parameters between a preset and the settings.
// The name, the language, the help file and the recent sounds stay.
void ApplyPreset(const Preset& preset, Settings& settings);
// False, with the preset untouched, when the settings' picture list or
// sound is longer than a preset can store and read back.
bool CapturePreset(const Settings& settings, Preset& preset);

// Appends "Simple", "Realistic" and "Rational", named in the language loaded
// at this moment.
void AddFactoryPresets(Settings& settings);
