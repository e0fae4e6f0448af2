#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "settings/store.h"

// Typed reads and writes over a StoreKey, with the acceptance rules the
// settings rely on. A read that fails leaves its output untouched. Writes
// and deletes take a key that may be null (a key that could not be
// created): they then fail silently, like every other store failure.

// Any type, at most 4 bytes, little-endian; shorter data are zero-extended.
bool readNumber(StoreKey& key, std::string_view name, int32_t& out);

// String values only, data of at most `bufferSize` bytes. The text ends at
// the first NUL or at the end of the data.
bool readString(StoreKey& key, std::string_view name, size_t bufferSize, std::string& out);

// Multi-string values only, data of at most `bufferSize` bytes.
bool readMultiString(StoreKey& key, std::string_view name, size_t bufferSize, std::vector<std::string>& out);

// Binary values only, data of at most `bufferSize` bytes.
bool readBinary(StoreKey& key, std::string_view name, size_t bufferSize, std::vector<uint8_t>& out);

bool writeNumber(StoreKey* key, std::string_view name, uint32_t value);
bool writeString(StoreKey* key, std::string_view name, std::string_view text);  // with its NUL
bool writeMultiString(StoreKey* key, std::string_view name, const std::vector<std::string>& list);
bool writeBinary(StoreKey* key, std::string_view name, const uint8_t* data, uint32_t size);
bool deleteValue(StoreKey* key, std::string_view name);
