#pragma once
#include <array>
#include <cstdint>
#include <string_view>

#include "settings/flight_parameters.h"

// Every stored picture parameter, declared once: its stored value name, its
// field, its kind, the range the settings pages offer, the value of a freshly
// constructed record, the fallback of a first run, and where the store and
// the preset block keep it. The store, the presets, the fallbacks, the
// headless renderer's --set and the dialog's controls all read this table.

enum class SettingKind : uint8_t {
    Number,  // 32-bit signed, stored as a DWORD
    Switch,  // one byte in memory, stored as a DWORD 0 or 1
};

// Where a value sits among the user key's values. Loading reads the groups
// in this order with the checksum between Motion and Picture; saving writes
// the texts (sound, language, help file) between Picture and Switch.
enum class StoreGroup : uint8_t { Motion, Picture, Switch };

struct SettingInfo {
    std::string_view storedName;
    SettingKind kind;
    int32_t FlightParameters::*number;  // Number settings
    bool FlightParameters::*flag;       // the Switch
    int32_t low;                        // the range the settings pages offer
    int32_t high;
    int32_t initial;
    int32_t fallback;
    bool zeroWhenMissing;  // a missing stored value gives 0; otherwise the field keeps its value
    StoreGroup group;
    uint8_t presetOffset;  // first byte in the preset block (4 bytes, or 1 for the switch)

    int32_t get(const FlightParameters& p) const { return kind == SettingKind::Number ? p.*number : p.*flag ? 1 : 0; }
    void set(FlightParameters& p, int32_t value) const {
        if (kind == SettingKind::Number) p.*number = value;
        else p.*flag = value != 0;
    }
};

inline constexpr std::array<SettingInfo, 9> kFlightSettings{{
    // stored name   kind                  field                           low   high  initial fallback zero  group            block
    {"StarsCount", SettingKind::Number, &FlightParameters::StarsCount, nullptr, 100, 20000, 5000, 2000, false, StoreGroup::Motion, 0},
    {"MoveSpeed", SettingKind::Number, &FlightParameters::MoveSpeed, nullptr, 1, 1000, 50, 500, false, StoreGroup::Motion, 4},
    {"RotSpeed", SettingKind::Number, &FlightParameters::RotSpeed, nullptr, -100, 100, 5, -25, false, StoreGroup::Motion, 8},
    {"Smoothness", SettingKind::Number, &FlightParameters::Smoothness, nullptr, 1, 100, 0, 30, false, StoreGroup::Motion, 12},
    {"RoamFreq", SettingKind::Number, &FlightParameters::RoamFreq, nullptr, 1, 100, 1, 30, false, StoreGroup::Motion, 16},
    {"RoamMagn", SettingKind::Number, &FlightParameters::RoamMagn, nullptr, 0, 100, 0, 10, false, StoreGroup::Motion, 20},
    {"AntiAliase", SettingKind::Number, &FlightParameters::AntiAliase, nullptr, 0, 5, 0, 0, true, StoreGroup::Picture, 28},
    {"Clouds", SettingKind::Number, &FlightParameters::Clouds, nullptr, 0, 10, 0, 0, false, StoreGroup::Picture, 24},
    {"UseNUR", SettingKind::Switch, nullptr, &FlightParameters::UseNUR, 0, 1, 0, 0, true, StoreGroup::Switch, 32},
}};

// The entry stored under `storedName` (exact, case-sensitive), or null.
constexpr const SettingInfo* findFlightSetting(std::string_view storedName) {
    for (const SettingInfo& s : kFlightSettings)
        if (s.storedName == storedName) return &s;
    return nullptr;
}

// The parameters every entry's `initial` or `fallback` column gives.
constexpr FlightParameters flightFromTable(int32_t SettingInfo::*column) {
    FlightParameters p;
    for (const SettingInfo& s : kFlightSettings) s.set(p, s.*column);
    return p;
}
