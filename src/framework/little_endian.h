#pragma once
// Numbers in the byte order of the files the game reads and writes (BMP,
// WAV, its font): least significant byte first, whatever the machine's own
// order. Readers check that the bytes are there before they ask.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

inline std::uint16_t read_le16(std::span<const std::uint8_t> bytes, std::size_t at) {
    return static_cast<std::uint16_t>(bytes[at] | (bytes[at + 1] << 8));
}

inline std::uint32_t read_le32(std::span<const std::uint8_t> bytes, std::size_t at) {
    return static_cast<std::uint32_t>(bytes[at]) | (static_cast<std::uint32_t>(bytes[at + 1]) << 8) |
           (static_cast<std::uint32_t>(bytes[at + 2]) << 16) |
           (static_cast<std::uint32_t>(bytes[at + 3]) << 24);
}

// The low `count` bytes of `value` at `at`.
inline void put_le(std::uint8_t* at, std::uint32_t value, int count) {
    for (int i = 0; i < count; ++i) at[i] = static_cast<std::uint8_t>(value >> (8 * i));
}

inline void append_le16(std::vector<std::uint8_t>& bytes, std::uint32_t value) {
    bytes.push_back(static_cast<std::uint8_t>(value));
    bytes.push_back(static_cast<std::uint8_t>(value >> 8));
}

inline void append_le32(std::vector<std::uint8_t>& bytes, std::uint32_t value) {
    append_le16(bytes, value & 0xffff);
    append_le16(bytes, value >> 16);
}
