#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "ShowFacts.h"
#include "model/Md2File.h"

// The sections of an MD2 file as they are stored, for writers that choose
// every value themselves: the generator, and tests that build files the
// loader must accept or refuse. The layout itself (header fields, record
// sizes, section order) is the program's, from model/Md2File.h.

// A packed vertex: x, y and z on the frame's 8-bit grid.
using Md2PackedVertex = std::array<std::uint8_t, 3>;

struct Md2FrameRecord {
    std::string name;  // up to 16 bytes; exactly 16 leaves no NUL
    float scale[3] = {1.0f, 1.0f, 1.0f};
    float translate[3] = {0.0f, 0.0f, 0.0f};
    std::vector<Md2PackedVertex> vertices;  // stored with a normal index of 0
};

struct Md2TriangleRecord {
    std::int16_t vertexIndices[3];
    std::int16_t texCoordIndices[3] = {0, 0, 0};  // none: files without skin coordinates
};

// Skin coordinates in texels.
struct Md2TexCoordRecord {
    std::int16_t s;
    std::int16_t t;
};

// One corner of a strip or fan in the command list.
struct Md2CommandVertex {
    float s, t;
    std::int32_t index;
};

// How the command list draws a primitive's vertices.
enum class Md2Primitive { Strip, Fan };

struct Md2Sections {
    std::array<char, 4> magic{
        {md2file::MD2_MAGIC[0], md2file::MD2_MAGIC[1], md2file::MD2_MAGIC[2], md2file::MD2_MAGIC[3]}};
    std::int32_t version = md2file::MD2_VERSION;
    std::int32_t skinWidth = SKIN_SIZE;
    std::int32_t skinHeight = SKIN_SIZE;
    // Every frame record holds this many vertices: a frame with fewer is
    // padded with zero bytes, one with more is cut short.
    std::int32_t vertexCount = 0;
    std::vector<std::string> skins;  // names of up to 64 bytes
    std::vector<Md2TexCoordRecord> texCoords;
    std::vector<Md2TriangleRecord> triangles;
    std::vector<Md2FrameRecord> frames;
    std::vector<std::int32_t> commandWords;

    // A strip or fan, opened by its count (negative for a fan); the list's
    // closing 0 is endCommands().
    void addPrimitive(const std::vector<Md2CommandVertex>& vertices, Md2Primitive kind);
    void endCommands() { commandWords.push_back(0); }
};

// The header with every count and offset worked out from the sections, then
// the sections in the order the header gives.
std::vector<std::uint8_t> encodeMd2Sections(const Md2Sections& sections);
