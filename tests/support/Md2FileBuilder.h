#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "formats/Md2Writer.h"
#include "model/Md2File.h"

// MD2 files for tests, laid out by the formats library: frames on a grid of
// scene coordinates, just enough frames to animate, and header fields to
// corrupt afterwards with setHeaderField.
namespace md2test {

using Frame = Md2FrameRecord;
using PackedVertex = Md2PackedVertex;
using CommandVertex = Md2CommandVertex;
using Primitive = Md2Primitive;

// Header field offsets.
constexpr int VERSION = offsetof(md2file::FileHeader, version), FRAME_SIZE = offsetof(md2file::FileHeader, frameSize),
              VERTEX_COUNT = offsetof(md2file::FileHeader, vertexCount),
              TRIANGLE_COUNT = offsetof(md2file::FileHeader, triangleCount),
              COMMAND_COUNT = offsetof(md2file::FileHeader, commandCount),
              FRAME_COUNT = offsetof(md2file::FileHeader, frameCount),
              TRIANGLES_OFFSET = offsetof(md2file::FileHeader, trianglesOffset),
              FRAMES_OFFSET = offsetof(md2file::FileHeader, framesOffset),
              COMMANDS_OFFSET = offsetof(md2file::FileHeader, commandsOffset);

// Frames made with this scale and translate place packed vertices on a grid
// of 0.1 from -12.8 to 12.7 in every scene axis; sceneVertex finds the bytes.
Frame gridFrame(const std::string& name);
PackedVertex sceneVertex(float x, float y, float z);

struct Md2FileBuilder : Md2Sections {
    // Frames of one vertex named name0, name1, ...: just enough to animate.
    void addNumberedFrames(const std::string& name, int count);

    std::vector<std::uint8_t> bytes() const { return encodeMd2Sections(*this); }
};

void setHeaderField(std::vector<std::uint8_t>& bytes, int offset, std::int32_t value);

}  // namespace md2test
