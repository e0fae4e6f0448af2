#include "settings/settings.h"

uint32_t SettingsChecksum(const Settings& s) {
    const auto S = static_cast<uint32_t>(s.StarsCount);
    const auto M = static_cast<uint32_t>(s.MoveSpeed);
    const auto R = static_cast<uint32_t>(s.RotSpeed);
    const auto T = static_cast<uint32_t>(s.Smoothness);
    const auto F = static_cast<uint32_t>(s.RoamFreq);
    const auto G = static_cast<uint32_t>(s.RoamMagn);
    const auto L = static_cast<uint32_t>(s.Clouds);
    const auto A = static_cast<uint32_t>(s.AntiAliase);
    const uint32_t U = s.UseNUR ? 1u : 0u;

    uint32_t v = (S ^ M ^ R ^ T ^ F ^ G ^ L ^ A ^ U) ^ 0x6D2B9F41u;
    v *= v;
    for (uint32_t t : {S, M, R, T, F, G, A, U, L}) v *= t + v;
    return v ^ S ^ M ^ R ^ T ^ F ^ G ^ L ^ U;
}

void ApplyFallbackDefaults(Settings& s) {
    static_cast<FlightParameters&>(s) = flightFromTable(&SettingInfo::fallback);
    s.BackSound.clear();
}
