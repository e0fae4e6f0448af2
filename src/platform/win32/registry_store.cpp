#include "platform/win32/registry_store.h"

#include <windows.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

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

    // Read into a buffer of the caller's capacity, not one sized by asking
    // first: for a text, the size the registry reports for no buffer need
    // only be enough (Windows may count the text in UTF-16), so it cannot tell
    // whether the text fits; ERROR_MORE_DATA does. The registry leaves the
    // buffer undefined then, and the store promises to leave the caller's
    // untouched, hence the copy.
    bool read(std::string_view name, ValueType& type, uint8_t* data, uint32_t& size) override {
        std::vector<BYTE> copy(size);
        DWORD storedType = 0, readSize = size;
        if (RegQueryValueExA(key_, std::string(name).c_str(), nullptr, &storedType, copy.data(), &readSize) !=
                ERROR_SUCCESS ||
            readSize > size)
            return false;
        std::copy_n(copy.data(), readSize, data);
        type = static_cast<ValueType>(storedType);
        size = readSize;
        return true;
    }

    bool has(std::string_view name) override {
        return RegQueryValueExA(key_, std::string(name).c_str(), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
    }

    bool write(std::string_view name, ValueType type, const uint8_t* data, uint32_t size) override {
        const std::string value(name);
        keepPrevious(value);
        return RegSetValueExA(key_, value.c_str(), 0, static_cast<DWORD>(type), data, size) == ERROR_SUCCESS;
    }

    bool remove(std::string_view name) override {
        const std::string value(name);
        keepPrevious(value);
        return RegDeleteValueA(key_, value.c_str()) == ERROR_SUCCESS;
    }

    // The registry takes every value at once, so what a write or delete
    // replaced is kept until the key closes and put back from there.
    void revert() override {
        for (const auto& [name, previous] : previous_) {
            if (previous.state == Previous::Absent) {
                RegDeleteValueA(key_, name.c_str());
            } else if (previous.state == Previous::Held) {
                RegSetValueExA(key_, name.c_str(), 0, previous.type, previous.data.data(),
                               static_cast<DWORD>(previous.data.size()));
            }
        }
        previous_.clear();
    }

private:
    // A value as it was before this key first changed it. One that could
    // not be read is left as it is by a revert.
    struct Previous {
        enum State { Absent, Held, Unread } state = Unread;
        DWORD type = 0;
        std::vector<BYTE> data;
    };

    void keepPrevious(const std::string& name) {
        if (previous_.count(name)) return;
        Previous& previous = previous_[name];
        DWORD size = 0;
        LSTATUS status = RegQueryValueExA(key_, name.c_str(), nullptr, &previous.type, nullptr, &size);
        if (status == ERROR_FILE_NOT_FOUND) {
            previous.state = Previous::Absent;
            return;
        }
        // A value that grows between the two queries is asked again.
        while (status == ERROR_SUCCESS || status == ERROR_MORE_DATA) {
            previous.data.resize(size);
            status = RegQueryValueExA(key_, name.c_str(), nullptr, &previous.type, previous.data.data(), &size);
            if (status == ERROR_SUCCESS) {
                previous.data.resize(size);
                previous.state = Previous::Held;
                return;
            }
        }
    }

    HKEY key_;
    std::map<std::string, Previous> previous_;  // by the name as written
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
