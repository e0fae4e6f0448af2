#pragma once
// Background sound through PlaySoundA: asynchronous, looping, no default
// sound in place of one that cannot be played, no waiting for a busy device.
// A path that is no disk file (a pipe, a device) gives silence.
#include <windows.h>

#include "saver/background_sound.h"

class PlaySoundPlayer final : public SoundPlayer {
public:
    explicit PlaySoundPlayer(HMODULE module) : module_(module) {}

    // The built-in music is played as the program's "WAVE" resource 221;
    // any other image from memory.
    void loopWaveImage(std::span<const uint8_t> wave) override;
    void loopWaveFile(const std::string& path) override;
    void stop() override;

private:
    HMODULE module_;
};
