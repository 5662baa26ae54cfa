#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

// Writes MD2 files byte by byte for tests: a 68-byte header, then the frame
// records, the triangles and the command words, each section where the
// header says. Tests corrupt the result with setHeaderField.
namespace md2test {

using PackedVertex = std::array<std::uint8_t, 3>;

struct Frame {
    std::string name;  // up to 16 bytes; exactly 16 leaves no NUL
    float scale[3];
    float translate[3];
    std::vector<PackedVertex> vertices;
};

struct CommandVertex {
    float s, t;
    std::int32_t index;
};

// Header field offsets.
constexpr int MAGIC = 0, VERSION = 4, FRAME_SIZE = 16, VERTEX_COUNT = 24, TRIANGLE_COUNT = 32, COMMAND_COUNT = 36,
              FRAME_COUNT = 40, TRIANGLES_OFFSET = 52, FRAMES_OFFSET = 56, COMMANDS_OFFSET = 60;

// Frames made with this scale and translate place packed vertices on a grid
// of 0.1 from -12.8 to 12.7 in every scene axis; sceneVertex finds the bytes.
Frame gridFrame(const std::string& name);
PackedVertex sceneVertex(float x, float y, float z);

// How the command list draws a primitive's vertices.
enum class Primitive { Strip, Fan };

class Md2FileBuilder {
public:
    std::array<char, 4> magic{{'I', 'D', 'P', '2'}};
    std::int32_t version = 8;
    std::int32_t vertexCount = 0;
    std::vector<Frame> frames;
    std::vector<std::array<std::int16_t, 3>> triangles;
    std::vector<std::int32_t> commandWords;

    // A strip or fan opened by its count, without the closing 0.
    void addPrimitive(const std::vector<CommandVertex>& vertices, Primitive kind);
    void endCommands() { commandWords.push_back(0); }

    // Frames of one vertex named name0, name1, ...: just enough to animate.
    void addNumberedFrames(const std::string& name, int count);

    std::vector<std::uint8_t> bytes() const;
};

void setHeaderField(std::vector<std::uint8_t>& bytes, int offset, std::int32_t value);

}  // namespace md2test
