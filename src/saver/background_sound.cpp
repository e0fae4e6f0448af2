#include "saver/background_sound.h"

#include "settings/settings.h"

void startBackgroundSound(const Settings& settings, SoundPlayer& player) {
    if (settings.BackSound == "D") player.loopWaveImage(builtInMusic());
    else if (settings.BackSound.size() >= 2) player.loopWaveFile(settings.BackSound);
}

void stopBackgroundSound(SoundPlayer& player) { player.stop(); }
