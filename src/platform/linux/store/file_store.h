#pragma once
#include <memory>
#include <string>

#include "settings/store.h"

// The Store seam (settings/store.h) on Linux, where the Windows build has
// RegistryStore: one REGEDIT4 file per hive, so a user can read, edit and
// carry the settings, and a file can go to and come from a Windows registry
// as it is. Pairs with LinuxFolderSystem in LoadSettings.
// Implements: both hives, every value type (those it does not know kept as
// hex(n)), value and key names without regard to case, the store paths from
// the environment.
// Leaves out: access rights (but a file the user made read-only is never
// replaced), and merging saves: each key writes its whole hive file when it
// closes.
//
// - A key reads its hive file when it is opened. A key from `open` never
//   writes; one from `create` writes the whole file back atomically when it
//   is closed, if it changed anything. Two processes saving one after the
//   other thus leave the later save whole, and a load never undoes a save.
// - A file that cannot be parsed reads as an empty hive; before a save
//   replaces it, it is kept as "<file>.damaged". Comment lines, deletions
//   and what Lumara does not know: registry_file.h.
// - A user file without write permission (0444, say) is the user's choice:
//   `create` fails, as for a registry key without the right to set values,
//   so the save fails and says so, and the file stays as it is.
// - The machine hive is an administrator's: its keys count as present
//   whenever its file is absent or readable, and Lumara never writes it
//   (`create` fails, which the settings logic ignores). On Linux the
//   program folder is found beside the program, so nothing needs to be
//   recorded there, and a file that no package owns would outlive the
//   package.
class FileStore final : public Store {
public:
    FileStore(std::string userFile, std::string machineFile);

    // LUMARA_USER_STORE, else $XDG_CONFIG_HOME/lumara/user.reg (~/.config
    // when unset); LUMARA_MACHINE_STORE, else /etc/lumara/machine.reg.
    static FileStore fromEnvironment();

    std::unique_ptr<StoreKey> open(Hive hive, std::string_view keyPath) override;
    std::unique_ptr<StoreKey> create(Hive hive, std::string_view keyPath) override;

    const std::string& fileOf(Hive hive) const { return hive == Hive::User ? userFile_ : machineFile_; }

private:
    std::string userFile_;
    std::string machineFile_;
};

// The hive files' paths from the environment, as fromEnvironment uses them.
// Empty when no path can be formed (no HOME and no override).
std::string userStorePathFromEnvironment();
std::string machineStorePathFromEnvironment();
