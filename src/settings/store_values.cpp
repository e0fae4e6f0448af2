#include "settings/store_values.h"

#include <cstring>

#include "base/byte_order.h"
#include "settings/multi_string.h"

namespace {

// Reads into a buffer of exactly the size the caller allows, so that a
// value too large for it counts as missing.
bool readRaw(StoreKey& key, std::string_view name, size_t bufferSize, ValueType& type,
             std::vector<uint8_t>& data) {
    std::vector<uint8_t> buffer(bufferSize);
    auto size = static_cast<uint32_t>(bufferSize);
    if (!key.read(name, type, buffer.data(), size)) return false;
    buffer.resize(size);
    data = std::move(buffer);
    return true;
}

}  // namespace

bool readNumber(StoreKey& key, std::string_view name, int32_t& out) {
    uint8_t bytes[4] = {};
    uint32_t size = sizeof bytes;
    ValueType type{};
    if (!key.read(name, type, bytes, size)) return false;
    uint32_t value = 0;
    for (uint32_t i = 0; i < size && i < 4; ++i) value |= static_cast<uint32_t>(bytes[i]) << (8 * i);
    out = static_cast<int32_t>(value);
    return true;
}

bool readString(StoreKey& key, std::string_view name, size_t bufferSize, std::string& out) {
    ValueType type{};
    std::vector<uint8_t> data;
    if (!readRaw(key, name, bufferSize, type, data) || type != ValueType::String) return false;
    const void* nul = std::memchr(data.data(), 0, data.size());
    const size_t length = nul ? static_cast<size_t>(static_cast<const uint8_t*>(nul) - data.data()) : data.size();
    out.assign(reinterpret_cast<const char*>(data.data()), length);
    return true;
}

bool readMultiString(StoreKey& key, std::string_view name, size_t bufferSize, std::vector<std::string>& out) {
    ValueType type{};
    std::vector<uint8_t> data;
    if (!readRaw(key, name, bufferSize, type, data) || type != ValueType::MultiString) return false;
    SplitMultiString(out, reinterpret_cast<const char*>(data.data()), data.size());
    return true;
}

bool readBinary(StoreKey& key, std::string_view name, size_t bufferSize, std::vector<uint8_t>& out) {
    ValueType type{};
    std::vector<uint8_t> data;
    if (!readRaw(key, name, bufferSize, type, data) || type != ValueType::Binary) return false;
    out = std::move(data);
    return true;
}

bool writeNumber(StoreKey* key, std::string_view name, uint32_t value) {
    uint8_t bytes[4];
    writeLittleEndian(bytes, value);
    return key && key->write(name, ValueType::Dword, bytes, 4);
}

bool writeString(StoreKey* key, std::string_view name, std::string_view text) {
    if (!key) return false;
    std::vector<uint8_t> data(text.begin(), text.end());
    data.push_back(0);
    return key->write(name, ValueType::String, data.data(), static_cast<uint32_t>(data.size()));
}

bool writeMultiString(StoreKey* key, std::string_view name, const std::vector<std::string>& list) {
    if (!key) return false;
    const std::vector<char> block = JoinMultiString(list);
    return key->write(name, ValueType::MultiString, reinterpret_cast<const uint8_t*>(block.data()),
                      static_cast<uint32_t>(block.size()));
}

bool writeBinary(StoreKey* key, std::string_view name, const uint8_t* data, uint32_t size) {
    return key && key->write(name, ValueType::Binary, data, size);
}

bool deleteValue(StoreKey* key, std::string_view name) { return key && key->remove(name); }
