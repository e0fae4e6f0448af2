#include "platform/linux/sound/sdl_sound_player.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <unistd.h>

#include "platform/linux/store/regular_file.h"

void SdlSoundPlayer::loopWaveImage(std::span<const uint8_t> wave) {
    play(SDL_RWFromConstMem(wave.data(), static_cast<int>(wave.size())));
}

void SdlSoundPlayer::loopWaveFile(const std::string& path) {
    // Opened here rather than by SDL, which would wait on a FIFO for ever.
    int fd = -1;
    if (openRegularFile(path, fd) != FileReadResult::Read) return stop();
    FILE* file = ::fdopen(fd, "rb");
    if (!file) {
        ::close(fd);
        return stop();
    }
    play(SDL_RWFromFP(file, SDL_TRUE));
}

void SdlSoundPlayer::play(SDL_RWops* source) {
    stop();
    if (!source) return;
    if (SDL_WasInit(SDL_INIT_AUDIO) == 0 && SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        SDL_RWclose(source);
        return;
    }
    SDL_AudioSpec format;
    if (!SDL_LoadWAV_RW(source, 1, &format, &samples_, &length_)) return;
    if (length_ == 0) {
        stop();
        return;
    }
    // Buffers of about 50 ms: SDL waits two buffers' time for the device to
    // drain when it closes, and the built-in music's 2000 samples a second
    // would otherwise make that four seconds at exit.
    format.samples = 64;
    while (format.samples < format.freq / 20 && format.samples < 4096) format.samples = static_cast<Uint16>(format.samples * 2);
    format.callback = feed;
    format.userdata = this;
    position_ = 0;
    // SDL converts to whatever the device wants; the wave's own format stays ours.
    device_ = SDL_OpenAudioDevice(nullptr, 0, &format, nullptr, 0);
    if (device_ == 0) {
        stop();
        return;
    }
    SDL_PauseAudioDevice(device_, 0);
}

void SdlSoundPlayer::feed(void* data, Uint8* stream, int length) {
    auto* player = static_cast<SdlSoundPlayer*>(data);
    auto remaining = static_cast<Uint32>(length);
    while (remaining > 0) {
        const Uint32 chunk = std::min(remaining, player->length_ - player->position_);
        std::memcpy(stream, player->samples_ + player->position_, chunk);
        stream += chunk;
        remaining -= chunk;
        player->position_ = (player->position_ + chunk) % player->length_;
    }
}

void SdlSoundPlayer::stop() {
    if (device_) SDL_CloseAudioDevice(device_);  // waits for the callback to finish
    device_ = 0;
    if (samples_) SDL_FreeWAV(samples_);
    samples_ = nullptr;
    length_ = position_ = 0;
}
