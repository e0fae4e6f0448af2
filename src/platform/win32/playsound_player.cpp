#include "platform/win32/playsound_player.h"

#include <mmsystem.h>

#include "platform/win32/regular_file.h"
#include "platform/win32/resource_ids.h"

namespace {

constexpr DWORD kLooping = SND_ASYNC | SND_NODEFAULT | SND_LOOP | SND_NOWAIT;

}  // namespace

void PlaySoundPlayer::loopWaveImage(std::span<const uint8_t> wave) {
    if (wave.data() == builtInMusic().data())
        PlaySoundA(MAKEINTRESOURCEA(kBuiltInMusicId), module_, SND_RESOURCE | kLooping);
    else
        PlaySoundA(reinterpret_cast<LPCSTR>(wave.data()), nullptr, SND_MEMORY | kLooping);
}

void PlaySoundPlayer::loopWaveFile(const std::string& path) {
    // PlaySound would open a pipe or device as readily as a file.
    if (!isRegularFile(path)) return stop();
    PlaySoundA(path.c_str(), module_, SND_FILENAME | kLooping);
}

void PlaySoundPlayer::stop() { PlaySoundA(nullptr, module_, SND_PURGE); }
