#pragma once
// The settings store in the Windows registry: HKEY_CURRENT_USER for the
// user hive, HKEY_LOCAL_MACHINE for the machine hive, keys opened and
// created with read, set-value and create-subkey rights.
#include "settings/store.h"

class RegistryStore final : public Store {
public:
    std::unique_ptr<StoreKey> open(Hive hive, std::string_view keyPath) override;
    std::unique_ptr<StoreKey> create(Hive hive, std::string_view keyPath) override;
};
