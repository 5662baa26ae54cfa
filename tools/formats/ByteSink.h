#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

// Bytes of a file being encoded. Every format here stores its numbers
// little-endian, whatever the machine.
struct ByteSink {
    std::vector<std::uint8_t> bytes;

    void byte(int value) { bytes.push_back(static_cast<std::uint8_t>(value)); }
    void uint16(std::uint32_t value) {
        for (int shift = 0; shift < 16; shift += 8) {
            byte(static_cast<int>((value >> shift) & 0xFF));
        }
    }
    void uint32(std::uint32_t value) {
        for (int shift = 0; shift < 32; shift += 8) {
            byte(static_cast<int>((value >> shift) & 0xFF));
        }
    }
    // Two's complement, so negative values keep their bits.
    void int16(int value) { uint16(static_cast<std::uint16_t>(static_cast<std::int16_t>(value))); }
    void int32(std::int32_t value) { uint32(static_cast<std::uint32_t>(value)); }
    void float32(float value) {
        std::uint32_t bits = 0;
        std::memcpy(&bits, &value, sizeof bits);
        uint32(bits);
    }
    // Exactly `size` bytes: the text cut short or padded with NULs.
    void text(const std::string& value, std::size_t size) {
        for (std::size_t i = 0; i < size; ++i) {
            byte(i < value.size() ? static_cast<unsigned char>(value[i]) : 0);
        }
    }
};
