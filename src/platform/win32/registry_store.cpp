#include "platform/win32/registry_store.h"

#include <windows.h>

#include <string>

namespace {

// Saving opens with KEY_READ | KEY_SET_VALUE | KEY_CREATE_SUB_KEY; loading
// with KEY_READ alone, so a load cannot change the store.
constexpr REGSAM kWriteAccess = 0x2001F;
constexpr REGSAM kReadAccess = KEY_READ;

HKEY rootOf(Hive hive) { return hive == Hive::User ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE; }

class RegistryKey final : public StoreKey {
public:
    explicit RegistryKey(HKEY key) : key_(key) {}
    ~RegistryKey() override { RegCloseKey(key_); }
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;

    // The size is asked first: the registry leaves the buffer undefined when
    // the data do not fit, and the store promises to leave it untouched.
    bool read(std::string_view name, ValueType& type, uint8_t* data, uint32_t& size) override {
        const std::string value(name);
        DWORD storedType = 0, storedSize = 0;
        if (RegQueryValueExA(key_, value.c_str(), nullptr, &storedType, nullptr, &storedSize) != ERROR_SUCCESS ||
            storedSize > size)
            return false;
        DWORD readSize = size;
        if (RegQueryValueExA(key_, value.c_str(), nullptr, &storedType, data, &readSize) != ERROR_SUCCESS)
            return false;
        type = static_cast<ValueType>(storedType);
        size = readSize;
        return true;
    }

    bool has(std::string_view name) override {
        return RegQueryValueExA(key_, std::string(name).c_str(), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
    }

    bool write(std::string_view name, ValueType type, const uint8_t* data, uint32_t size) override {
        return RegSetValueExA(key_, std::string(name).c_str(), 0, static_cast<DWORD>(type), data, size) ==
               ERROR_SUCCESS;
    }

    bool remove(std::string_view name) override {
        return RegDeleteValueA(key_, std::string(name).c_str()) == ERROR_SUCCESS;
    }

private:
    HKEY key_;
};

}  // namespace

std::unique_ptr<StoreKey> RegistryStore::open(Hive hive, std::string_view keyPath) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(rootOf(hive), std::string(keyPath).c_str(), 0, kReadAccess, &key) != ERROR_SUCCESS)
        return nullptr;
    return std::make_unique<RegistryKey>(key);
}

std::unique_ptr<StoreKey> RegistryStore::create(Hive hive, std::string_view keyPath) {
    HKEY key = nullptr;
    if (RegCreateKeyExA(rootOf(hive), std::string(keyPath).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, kWriteAccess,
                        nullptr, &key, nullptr) != ERROR_SUCCESS)
        return nullptr;
    return std::make_unique<RegistryKey>(key);
}

std::unique_ptr<Store> makePlatformStore() { return std::make_unique<RegistryStore>(); }
