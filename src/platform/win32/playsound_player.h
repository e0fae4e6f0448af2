#pragma once
// The SoundPlayer seam (saver/background_sound.h) through PlaySoundA, where
// the Linux build has SdlSoundPlayer; pairs with Win32Host.
// Implements: asynchronous looping playback of the built-in music (wave
// resource 221), of a wave in memory, or of a file that is a disk file (a
// pipe or a device gives silence); stopping.
// Leaves out: a default sound in place of one that cannot be played,
// waiting for a busy device, and any report of failure.
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
