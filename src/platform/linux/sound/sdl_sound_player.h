#pragma once
// The SoundPlayer seam (saver/background_sound.h) on SDL audio, where the
// Windows build has PlaySoundPlayer; runs beside SdlHost and WaylandHost.
// Implements: a wave image or file decoded once and fed to the device in an
// endless loop from SDL's audio thread, so the frame loop never waits for
// it; SDL converts the wave's format to the device's.
// Leaves out: every sound that is not a wave SDL reads. No device, or a file
// that is not a playable wave (or is no regular file), gives silence:
// nothing is reported and no other sound stands in.
#include <SDL.h>

#include <string>

#include "saver/background_sound.h"

class SdlSoundPlayer final : public SoundPlayer {
public:
    SdlSoundPlayer() = default;
    ~SdlSoundPlayer() override { stop(); }
    SdlSoundPlayer(const SdlSoundPlayer&) = delete;
    SdlSoundPlayer& operator=(const SdlSoundPlayer&) = delete;

    void loopWaveImage(std::span<const uint8_t> wave) override;
    void loopWaveFile(const std::string& path) override;
    void stop() override;

private:
    void play(SDL_RWops* source);
    static void feed(void* player, Uint8* stream, int length);

    SDL_AudioDeviceID device_ = 0;
    Uint8* samples_ = nullptr;
    Uint32 length_ = 0;
    Uint32 position_ = 0;  // touched only by the audio thread while playing
};
