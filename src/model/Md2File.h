#pragma once

// The byte layout of an MD2 file and the readers for its little-endian
// values, shared by the parser and the command-list walk of the drawing.
// Private to model/.

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace md2file {

inline constexpr std::size_t HEADER_SIZE = 68;
inline constexpr char MD2_MAGIC[4] = {'I', 'D', 'P', '2'};
inline constexpr std::int32_t MD2_VERSION = 8;
// A frame record starts with scale, translate (3 floats each) and a 16-byte name.
inline constexpr std::int64_t FRAME_HEADER_SIZE = 40;
inline constexpr std::int64_t FRAME_NAME_OFFSET = 24;
inline constexpr std::size_t FRAME_NAME_LENGTH = 16;
inline constexpr std::int64_t PACKED_VERTEX_SIZE = 4;
inline constexpr std::int64_t TRIANGLE_SIZE = 12;
inline constexpr std::int64_t COMMAND_WORD_SIZE = 4;
inline constexpr std::int64_t WORDS_PER_COMMAND_VERTEX = 3;

inline std::int32_t readInt32(const std::uint8_t* bytes) {
    std::uint32_t value = std::uint32_t(bytes[0]) | std::uint32_t(bytes[1]) << 8 | std::uint32_t(bytes[2]) << 16 |
                          std::uint32_t(bytes[3]) << 24;
    return static_cast<std::int32_t>(value);
}

inline std::int16_t readInt16(const std::uint8_t* bytes) {
    return static_cast<std::int16_t>(bytes[0] | bytes[1] << 8);
}

inline float wordAsFloat(std::int32_t word) {
    float value;
    std::memcpy(&value, &word, sizeof value);
    return value;
}

}  // namespace md2file
