#pragma once
// The Store seam (settings/store.h) in the Windows registry, where the Linux
// build has FileStore; pairs with Win32FolderSystem in LoadSettings.
// Implements: HKEY_CURRENT_USER for the user hive, HKEY_LOCAL_MACHINE for the
// machine hive, keys opened and created with read, set-value and
// create-subkey rights; a value larger than the caller's buffer reads as
// missing and leaves the buffer untouched.
// Leaves out: deleting keys, and the registry's 64-bit view: each build
// reads the view of its own architecture.
#include "settings/store.h"

class RegistryStore final : public Store {
public:
    std::unique_ptr<StoreKey> open(Hive hive, std::string_view keyPath) override;
    std::unique_ptr<StoreKey> create(Hive hive, std::string_view keyPath) override;
};
