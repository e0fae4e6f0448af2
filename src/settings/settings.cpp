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
    s.StarsCount = 2000;
    s.MoveSpeed = 500;
    s.RotSpeed = -25;
    s.Smoothness = 30;
    s.RoamFreq = 30;
    s.RoamMagn = 10;
    s.AntiAliase = 0;
    s.Clouds = 0;
    s.UseNUR = false;
    s.BackSound.clear();
}
