#include "support/Md2FileBuilder.h"

#include <cmath>

namespace md2test {
namespace {

constexpr float GRID_STEP = 0.1f;
constexpr float GRID_ORIGIN = -12.8f;

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

void Md2FileBuilder::addNumberedFrames(const std::string& name, int count) {
    vertexCount = 1;
    for (int i = 0; i < count; ++i) {
        Frame frame = gridFrame(name + std::to_string(i));
        frame.vertices = {sceneVertex(0.0f, 0.0f, 0.0f)};
        frames.push_back(frame);
    }
}

void setHeaderField(std::vector<std::uint8_t>& bytes, int offset, std::int32_t value) {
    std::uint32_t bits = static_cast<std::uint32_t>(value);
    for (int i = 0; i < 4; ++i) {
        bytes[offset + i] = std::uint8_t(bits >> (8 * i));
    }
}

}  // namespace md2test
