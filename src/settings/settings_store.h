#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "base/outcome.h"
#include "settings/program_folder.h"
#include "settings/settings.h"
#include "settings/store.h"

// Moves Settings to and from the store: the parameters, presets and recent
// sounds under the user key, the program folder under the machine key.
// Loading reports nothing, and never writes: every value falls back on its
// own, and a preset that cannot be read is passed over.

// Fills the record from the store, loads the chosen language file (read
// through `folders`), settles and lists the program folder, adds the
// factory presets to an empty list and brings the fallback defaults when
// the stored checksum does not match.
void LoadSettings(Settings& settings, Store& store, FolderSystem& folders);

// Writes the record. A successful save changes the record only by moving a
// sound file in BackSound to the front of RecentSounds; a failed one leaves
// it as it was. Fails, with the reason in the language of the record's
// language table, when a text of the record is longer than loading reads
// back (then nothing of the user key is written), when the user key could
// not be created, or when a value of it could not be written or the key's
// changes kept: every value is still attempted, then the key is reverted,
// so the stored settings load as they did before. The machine-wide
// "ProgramDir" is written without a report: most users may not write
// machine-wide values.
Outcome SaveSettings(Settings& settings, Store& store);

// Puts `path` at the front of the list: an equal entry moves there; a new
// one drops the oldest when the list holds exactly `limit` entries.
void AddRecentSound(std::vector<std::string>& list, const std::string& path, int32_t limit);
