#include "support/Md2FileBuilder.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace md2test {
namespace {

constexpr int HEADER_SIZE = 68;
constexpr float GRID_STEP = 0.1f;
constexpr float GRID_ORIGIN = -12.8f;

void putInt32(std::vector<std::uint8_t>& bytes, std::int32_t value) {
    std::uint32_t bits = static_cast<std::uint32_t>(value);
    for (int i = 0; i < 4; ++i) {
        bytes.push_back(std::uint8_t(bits >> (8 * i)));
    }
}

void putFloat(std::vector<std::uint8_t>& bytes, float value) {
    std::int32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    putInt32(bytes, bits);
}

std::uint8_t gridByte(float coordinate) {
    return std::uint8_t(std::lround((coordinate - GRID_ORIGIN) / GRID_STEP));
}

}  // namespace

Frame gridFrame(const std::string& name) {
    return {name, {GRID_STEP, GRID_STEP, GRID_STEP}, {GRID_ORIGIN, GRID_ORIGIN, GRID_ORIGIN}, {}};
}

// Scene y comes from the file's z, and scene z is minus the file's y.
PackedVertex sceneVertex(float x, float y, float z) {
    return {gridByte(x), gridByte(-z), gridByte(y)};
}

void Md2FileBuilder::addPrimitive(const std::vector<CommandVertex>& vertices, Primitive kind) {
    std::int32_t count = std::int32_t(vertices.size());
    commandWords.push_back(kind == Primitive::Fan ? -count : count);
    for (const CommandVertex& vertex : vertices) {
        std::int32_t bits;
        std::memcpy(&bits, &vertex.s, sizeof bits);
        commandWords.push_back(bits);
        std::memcpy(&bits, &vertex.t, sizeof bits);
        commandWords.push_back(bits);
        commandWords.push_back(vertex.index);
    }
}

void Md2FileBuilder::addNumberedFrames(const std::string& name, int count) {
    vertexCount = 1;
    for (int i = 0; i < count; ++i) {
        Frame frame = gridFrame(name + std::to_string(i));
        frame.vertices = {sceneVertex(0.0f, 0.0f, 0.0f)};
        frames.push_back(frame);
    }
}

std::vector<std::uint8_t> Md2FileBuilder::bytes() const {
    const std::int32_t frameSize = 40 + 4 * vertexCount;
    const std::int32_t framesOffset = HEADER_SIZE;
    const std::int32_t trianglesOffset = framesOffset + frameSize * std::int32_t(frames.size());
    const std::int32_t commandsOffset = trianglesOffset + 12 * std::int32_t(triangles.size());
    const std::int32_t endOffset = commandsOffset + 4 * std::int32_t(commandWords.size());

    std::vector<std::uint8_t> out(magic.begin(), magic.end());
    const std::int32_t fields[] = {version,
                                   256,
                                   256,
                                   frameSize,
                                   0,
                                   vertexCount,
                                   0,
                                   std::int32_t(triangles.size()),
                                   std::int32_t(commandWords.size()),
                                   std::int32_t(frames.size()),
                                   HEADER_SIZE,
                                   HEADER_SIZE,
                                   trianglesOffset,
                                   framesOffset,
                                   commandsOffset,
                                   endOffset};
    for (std::int32_t field : fields) {
        putInt32(out, field);
    }
    for (const Frame& frame : frames) {
        for (float value : frame.scale) {
            putFloat(out, value);
        }
        for (float value : frame.translate) {
            putFloat(out, value);
        }
        char name[16] = {};
        std::memcpy(name, frame.name.data(), std::min<size_t>(frame.name.size(), sizeof name));
        out.insert(out.end(), name, name + sizeof name);
        for (int i = 0; i < vertexCount; ++i) {
            PackedVertex vertex = i < int(frame.vertices.size()) ? frame.vertices[i] : PackedVertex{};
            out.insert(out.end(), vertex.begin(), vertex.end());
            out.push_back(0);
        }
    }
    for (const auto& triangle : triangles) {
        for (std::int16_t index : triangle) {
            out.push_back(std::uint8_t(index));
            out.push_back(std::uint8_t(std::uint16_t(index) >> 8));
        }
        out.insert(out.end(), 6, 0);
    }
    for (std::int32_t word : commandWords) {
        putInt32(out, word);
    }
    return out;
}

void setHeaderField(std::vector<std::uint8_t>& bytes, int offset, std::int32_t value) {
    std::uint32_t bits = static_cast<std::uint32_t>(value);
    for (int i = 0; i < 4; ++i) {
        bytes[offset + i] = std::uint8_t(bits >> (8 * i));
    }
}

}  // namespace md2test
