#pragma once
#include <cstdint>
#include <span>
#include <string>

struct Settings;

// Plays a wave image in an endless loop, asynchronously: no fallback
// sound when it cannot be played, and no waiting for a busy device.
class SoundPlayer {
public:
    virtual ~SoundPlayer() = default;
    virtual void loopWaveImage(std::span<const uint8_t> wave) = 0;
    virtual void loopWaveFile(const std::string& path) = 0;
    virtual void stop() = 0;
};

// The built-in music, a mono 16-bit wave image of 2000 samples a second.
std::span<const uint8_t> builtInMusic();

// Starts what BackSound chooses: "D" the built-in music, two or more
// characters a wave file, anything else silence.
void startBackgroundSound(const Settings& settings, SoundPlayer& player);
void stopBackgroundSound(SoundPlayer& player);
