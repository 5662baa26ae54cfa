#pragma once

// The byte layout of an MD2 file and the readers for its little-endian
// values: read by the parser and the command-list walk of the drawing, and
// written by the formats library (tools/formats) for the generator and the
// tests, so that the layout is stated once.

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
inline constexpr std::int64_t SKIN_NAME_SIZE = 64;
inline constexpr std::int64_t TEX_COORD_SIZE = 4;

// The header: the magic, then little-endian 32-bit fields in this order. No
// member is padded, so offsetof gives each field's place in the file. The
// sections follow in the order of their offsets: skin names, texture
// coordinates, triangles, frames, commands.
struct FileHeader {
    char magic[4];
    std::int32_t version;
    std::int32_t skinWidth;
    std::int32_t skinHeight;
    std::int32_t frameSize;
    std::int32_t skinCount;
    std::int32_t vertexCount;
    std::int32_t texCoordCount;
    std::int32_t triangleCount;
    std::int32_t commandCount;
    std::int32_t frameCount;
    std::int32_t skinsOffset;
    std::int32_t texCoordsOffset;
    std::int32_t trianglesOffset;
    std::int32_t framesOffset;
    std::int32_t commandsOffset;
    std::int32_t endOffset;
};
static_assert(sizeof(FileHeader) == HEADER_SIZE, "the header's fields lie back to back");

// A frame record's fixed start; its packed vertices follow (x, y, z bytes
// and a normal index byte each).
struct FrameHeader {
    float scale[3];
    float translate[3];
    char name[FRAME_NAME_LENGTH];
};
static_assert(sizeof(FrameHeader) == FRAME_HEADER_SIZE && offsetof(FrameHeader, name) == FRAME_NAME_OFFSET,
              "a frame record starts with scale, translate and its name");

// Vertex numbers, then texture coordinate numbers, 16 bits each.
struct TriangleRecord {
    std::int16_t vertexIndices[3];
    std::int16_t texCoordIndices[3];
};
static_assert(sizeof(TriangleRecord) == TRIANGLE_SIZE, "a triangle is six 16-bit numbers");

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
