#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "settings/program_folder.h"
#include "settings/settings.h"
#include "settings/store.h"

// Moves Settings to and from the store: the parameters, presets and recent
// sounds under the user key, the program folder under the machine key.
// Nothing is reported: every value falls back on its own.

// Fills the record from the store, loads the chosen language file (read
// through `folders`), settles and lists the program folder, adds the
// factory presets to an empty list and brings the fallback defaults when
// the stored checksum does not match.
void LoadSettings(Settings& settings, Store& store, FolderSystem& folders);

// Writes the record. Changes the record only by moving a sound file in
// BackSound to the front of RecentSounds.
void SaveSettings(Settings& settings, Store& store);

// Puts `path` at the front of the list: an equal entry moves there; a new
// one drops the oldest when the list holds exactly `limit` entries.
void AddRecentSound(std::vector<std::string>& list, const std::string& path, int32_t limit);
