#pragma once
#include <cstdint>
#include <memory>
#include <string_view>

// The settings store: the registry on Windows, one file per hive elsewhere.
// Only the operations the settings logic needs; no call reports why it
// failed: reading falls back value by value whatever the cause, and saving
// only needs to know that the user's values did not all reach the store.

enum class Hive { User, Machine };

// Value types with the registry's type codes, so the Windows adapter passes
// them through and a file exported from Windows keeps its codes. Other codes
// found in a store are carried unchanged.
enum class ValueType : uint32_t { String = 1, Binary = 3, Dword = 4, MultiString = 7 };

// The key every value of the saver lives under, in both hives.
inline constexpr std::string_view kProductKeyPath = "Software\\Tellix\\VEXA";

// An open key. Destroying it closes it; a store that batches changes makes
// them visible no later than then, or at `commit`.
class StoreKey {
public:
    virtual ~StoreKey() = default;

    // Reads value `name`: on entry `size` is the buffer's capacity in bytes,
    // on success it is the data's length. False when the value is absent or
    // its data do not fit; then nothing is written to `type` or `data`.
    virtual bool read(std::string_view name, ValueType& type, uint8_t* data, uint32_t& size) = 0;

    // True when value `name` exists, whatever its type and size.
    virtual bool has(std::string_view name) = 0;

    // Writes (adds or replaces) value `name`.
    virtual bool write(std::string_view name, ValueType type, const uint8_t* data, uint32_t size) = 0;

    // Deletes value `name`; true exactly when it existed and is gone.
    virtual bool remove(std::string_view name) = 0;

    // Makes the changes so far durable; false when they could not be. A store
    // that writes each value at once has nothing left to do here.
    virtual bool commit() { return true; }

    // Puts every value this key wrote or deleted back as it was when the key
    // was opened (as far as the store still can), so a save that failed part
    // of the way leaves no mix of new and old values. A key opened for
    // reading has nothing to put back.
    virtual void revert() = 0;
};

class Store {
public:
    virtual ~Store() = default;

    // Opens an existing key for reading only; null when it is absent or
    // unreadable. Its writes and deletes fail, and it writes nothing back:
    // loading never changes the store.
    virtual std::unique_ptr<StoreKey> open(Hive hive, std::string_view keyPath) = 0;

    // Opens a key for writing, creating it when absent; null when the hive
    // cannot be written.
    virtual std::unique_ptr<StoreKey> create(Hive hive, std::string_view keyPath) = 0;
};

// The platform's store as the saver uses it, defined by the platform library.
std::unique_ptr<Store> makePlatformStore();
