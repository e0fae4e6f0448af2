#include "settings/preset_store.h"

#include <string>

#include "base/byte_order.h"
#include "i18n/load_text.h"
#include "settings/store_values.h"
#include "settings/stored_texts.h"

namespace {

// Bytes of the numeric block that carry meaning; the padding may be absent.
constexpr size_t kPresetBlockMeaningful = 33;

std::string valueName(char kind, int index) { return std::string("PRESET") + kind + std::to_string(index); }

struct FactoryPreset {
    uint32_t nameId;
    FlightParameters flight;
    const char* BackSound;
};

// Fields in preset-block order: stars, speed, roll, smoothness, roam
// frequency and amplitude, clouds, anti-aliasing, picture switch.
constexpr FactoryPreset kFactoryPresets[] = {
    {3029, {1000, 600, -10, 40, 1, 0, 0, 0, false}, ""},     // Simple
    {3031, {6000, 600, -25, 80, 10, 30, 5, 3, false}, "D"},  // Realistic
    {3030, {4000, 600, -25, 60, 10, 10, 0, 2, false}, "D"},  // Rational
};

constexpr size_t kFactoryNameBuffer = 100;

}  // namespace

std::array<uint8_t, kPresetBlockSize> encodePresetBlock(const Preset& p) {
    std::array<uint8_t, kPresetBlockSize> block{};
    for (const SettingInfo& s : kFlightSettings) {
        if (s.kind == SettingKind::Number) writeLittleEndian(&block[s.presetOffset], static_cast<uint32_t>(s.get(p)));
        else block[s.presetOffset] = static_cast<uint8_t>(s.get(p));
    }
    return block;
}

bool ReadPreset(int index, StoreKey& key, Preset& preset) {
    std::vector<uint8_t> block;
    if (!readBinary(key, valueName('b', index), kPresetBlockSize, block) || block.size() < kPresetBlockMeaningful)
        return false;
    std::vector<std::string> images;
    std::string sound;
    std::string name;
    if (!readMultiString(key, valueName('i', index), readBufferOf(StoredText::PresetPictures), images) ||
        !readString(key, valueName('s', index), readBufferOf(StoredText::PresetSound), sound) ||
        !readString(key, valueName('n', index), readBufferOf(StoredText::PresetName), name))
        return false;
    for (const SettingInfo& s : kFlightSettings)
        s.set(preset, s.kind == SettingKind::Number ? static_cast<int32_t>(readLittleEndian32(&block[s.presetOffset]))
                                                 : block[s.presetOffset]);
    preset.NURimages = std::move(images);
    preset.BackSound = std::move(sound);
    preset.Name = std::move(name);
    return true;
}

bool WritePreset(int index, const Preset& preset, StoreKey* key) {
    const auto block = encodePresetBlock(preset);
    bool written = writeBinary(key, valueName('b', index), block.data(), static_cast<uint32_t>(block.size()));
    written = writeMultiString(key, valueName('i', index), preset.NURimages) && written;
    written = writeString(key, valueName('s', index), preset.BackSound) && written;
    return writeString(key, valueName('n', index), preset.Name) && written;
}

bool DeletePresetValues(int index, StoreKey* key) {
    bool any = false;
    for (char kind : {'b', 'i', 's', 'n'}) any = deleteValue(key, valueName(kind, index)) || any;
    return any;
}

bool PresetValuesExist(int index, StoreKey& key) {
    for (char kind : {'b', 'i', 's', 'n'})
        if (key.has(valueName(kind, index))) return true;
    return false;
}

void ApplyPreset(const Preset& preset, Settings& s) {
    static_cast<FlightParameters&>(s) = preset;
    // The settings' sound is a fixed 300-byte field.
    s.BackSound = preset.BackSound.substr(0, Settings::kBackSoundCapacity - 1);
    s.NURimages = preset.NURimages;
}

bool CapturePreset(const Settings& s, Preset& preset) {
    if (!fitsStore(StoredText::PresetPictures, s.NURimages) || !fitsStore(StoredText::PresetSound, s.BackSound))
        return false;
    static_cast<FlightParameters&>(preset) = s;
    preset.BackSound = s.BackSound;
    preset.NURimages = s.NURimages;
    return true;
}

void AddFactoryPresets(Settings& s) {
    for (const FactoryPreset& f : kFactoryPresets) {
        char name[kFactoryNameBuffer];
        LoadText(s.LanguageTable, f.nameId, name, sizeof name);
        Preset p;
        static_cast<FlightParameters&>(p) = f.flight;
        p.BackSound = f.BackSound;
        p.Name = name;
        s.Presets.push_back(std::move(p));
    }
}
