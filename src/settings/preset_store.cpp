#include "settings/preset_store.h"

#include <string>

#include "i18n/load_text.h"
#include "settings/store_values.h"

namespace {

// Read buffers of the preset values, in bytes.
constexpr size_t kPresetTextBuffer = 5000;
// Bytes of the numeric block that carry meaning; the padding may be absent.
constexpr size_t kPresetBlockMeaningful = 33;

std::string valueName(char kind, int index) { return std::string("PRESET") + kind + std::to_string(index); }

int32_t readLittleEndian(const uint8_t* p) {
    return static_cast<int32_t>(static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
                                static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24);
}

void putLittleEndian(uint8_t* p, int32_t value) {
    const auto v = static_cast<uint32_t>(value);
    for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}

struct FactoryPreset {
    uint32_t nameId;
    int32_t StarsCount, MoveSpeed, RotSpeed, Smoothness, RoamFreq, RoamMagn, Clouds, AntiAliase;
    const char* BackSound;
};

constexpr FactoryPreset kFactoryPresets[] = {
    {3029, 1000, 600, -10, 40, 1, 0, 0, 0, ""},     // Simple
    {3031, 6000, 600, -25, 80, 10, 30, 5, 3, "D"},  // Realistic
    {3030, 4000, 600, -25, 60, 10, 10, 0, 2, "D"},  // Rational
};

constexpr size_t kFactoryNameBuffer = 100;

}  // namespace

std::array<uint8_t, kPresetBlockSize> encodePresetBlock(const Preset& p) {
    std::array<uint8_t, kPresetBlockSize> block{};
    const int32_t numbers[8] = {p.StarsCount, p.MoveSpeed, p.RotSpeed, p.Smoothness,
                                p.RoamFreq,   p.RoamMagn,  p.Clouds,   p.AntiAliase};
    for (int i = 0; i < 8; ++i) putLittleEndian(&block[4 * static_cast<size_t>(i)], numbers[i]);
    block[32] = p.UseNUR ? 1 : 0;
    return block;
}

bool ReadPreset(int index, StoreKey& key, Preset& preset) {
    std::vector<uint8_t> block;
    if (!readBinary(key, valueName('b', index), kPresetBlockSize, block) || block.size() < kPresetBlockMeaningful)
        return false;
    std::vector<std::string> images;
    std::string sound;
    std::string name;
    if (!readMultiString(key, valueName('i', index), kPresetTextBuffer, images) ||
        !readString(key, valueName('s', index), kPresetTextBuffer, sound) ||
        !readString(key, valueName('n', index), kPresetTextBuffer, name))
        return false;
    int32_t* numbers[8] = {&preset.StarsCount, &preset.MoveSpeed, &preset.RotSpeed, &preset.Smoothness,
                           &preset.RoamFreq,   &preset.RoamMagn,  &preset.Clouds,   &preset.AntiAliase};
    for (size_t i = 0; i < 8; ++i) *numbers[i] = readLittleEndian(&block[4 * i]);
    preset.UseNUR = block[32] != 0;
    preset.NURimages = std::move(images);
    preset.BackSound = std::move(sound);
    preset.Name = std::move(name);
    return true;
}

void WritePreset(int index, const Preset& preset, StoreKey* key) {
    const auto block = encodePresetBlock(preset);
    writeBinary(key, valueName('b', index), block.data(), static_cast<uint32_t>(block.size()));
    writeMultiString(key, valueName('i', index), preset.NURimages);
    writeString(key, valueName('s', index), preset.BackSound);
    writeString(key, valueName('n', index), preset.Name);
}

bool DeletePresetValues(int index, StoreKey* key) {
    bool any = false;
    for (char kind : {'b', 'i', 's', 'n'}) any = deleteValue(key, valueName(kind, index)) || any;
    return any;
}

void ApplyPreset(const Preset& preset, Settings& s) {
    s.StarsCount = preset.StarsCount;
    s.MoveSpeed = preset.MoveSpeed;
    s.RotSpeed = preset.RotSpeed;
    s.Smoothness = preset.Smoothness;
    s.RoamFreq = preset.RoamFreq;
    s.RoamMagn = preset.RoamMagn;
    s.Clouds = preset.Clouds;
    s.AntiAliase = preset.AntiAliase;
    s.UseNUR = preset.UseNUR;
    // The settings' sound is a fixed 300-byte field.
    s.BackSound = preset.BackSound.substr(0, Settings::kBackSoundCapacity - 1);
    s.NURimages = preset.NURimages;
}

void CapturePreset(const Settings& s, Preset& preset) {
    preset.StarsCount = s.StarsCount;
    preset.MoveSpeed = s.MoveSpeed;
    preset.RotSpeed = s.RotSpeed;
    preset.Smoothness = s.Smoothness;
    preset.RoamFreq = s.RoamFreq;
    preset.RoamMagn = s.RoamMagn;
    preset.Clouds = s.Clouds;
    preset.AntiAliase = s.AntiAliase;
    preset.UseNUR = s.UseNUR;
    preset.BackSound = s.BackSound;
    preset.NURimages = s.NURimages;
}

void AddFactoryPresets(Settings& s) {
    for (const FactoryPreset& f : kFactoryPresets) {
        char name[kFactoryNameBuffer];
        LoadText(s.LanguageTable, f.nameId, name, sizeof name);
        Preset p;
        p.StarsCount = f.StarsCount;
        p.MoveSpeed = f.MoveSpeed;
        p.RotSpeed = f.RotSpeed;
        p.Smoothness = f.Smoothness;
        p.RoamFreq = f.RoamFreq;
        p.RoamMagn = f.RoamMagn;
        p.Clouds = f.Clouds;
        p.AntiAliase = f.AntiAliase;
        p.BackSound = f.BackSound;
        p.Name = name;
        s.Presets.push_back(std::move(p));
    }
}
