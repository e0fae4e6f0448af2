#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

// Integers in byte buffers: little-endian for the store's numbers, the
// preset block and the files the tools write (WAVE, BMP); big-endian for the
// picture headers and chunks that use it (PNG, JPEG).

constexpr uint32_t readLittleEndian16(const uint8_t* p) { return uint32_t{p[0]} | uint32_t{p[1]} << 8; }
constexpr uint32_t readLittleEndian32(const uint8_t* p) {
    return readLittleEndian16(p) | readLittleEndian16(p + 2) << 16;
}
constexpr uint32_t readBigEndian16(const uint8_t* p) { return uint32_t{p[0]} << 8 | uint32_t{p[1]}; }
constexpr uint32_t readBigEndian32(const uint8_t* p) { return readBigEndian16(p) << 16 | readBigEndian16(p + 2); }

// Writes the `bytes` low bytes of `value`, lowest first.
constexpr void writeLittleEndian(uint8_t* p, uint32_t value, size_t bytes = 4) {
    for (size_t i = 0; i < bytes; ++i) p[i] = static_cast<uint8_t>(value >> (8 * i));
}
constexpr void writeBigEndian32(uint8_t* p, uint32_t value) {
    for (size_t i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(value >> (8 * (3 - i)));
}
inline void appendLittleEndian(std::vector<uint8_t>& out, uint32_t value, size_t bytes) {
    for (size_t i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}
