#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "ShowFacts.h"
#include "model/AnimationState.h"

// What reading MD2 bytes came to. A rejected header is not an error: the
// model stays empty and draws nothing. A broken file is: `message` is the one
// line the loader writes to standard error before it exits with status 1.
enum class Md2ParseStatus { Loaded, HeaderRejected, Broken };

struct Md2ParseResult {
    Md2ParseStatus status = Md2ParseStatus::Loaded;
    std::string message;
};

// A keyframe-animated MD2 triangle mesh, decoded once into the scene's axes
// (the file's z is up, the file's y becomes -z), with one face normal per
// vertex per frame. Drawing blends two frames of the attached AnimationState
// and walks the command list of strips and fans in immediate mode.
class Md2Model {
public:
    struct Triangle {
        std::int16_t vertexIndices[3];
        std::int16_t texCoordIndices[3];  // not used: texture coordinates come from the commands
    };

    // Both drawing buffer pairs hold one blended frame of this many vertices;
    // files with more vertices per frame are refused.
    static constexpr int MAX_VERTICES = MODEL_MAX_VERTICES;

    // The largest model file read: the classic format limits (512 frames of
    // 2048 vertices, 4096 triangles, 16384 command words) need about 4.5 MiB.
    static constexpr std::size_t MAX_FILE_BYTES = 16u * 1024 * 1024;
    // Normals cost one cross product per triangle per frame. A real mesh has
    // about two triangles per vertex, and every frame stores 4 bytes per
    // vertex, so frames x triangles stays near half the file's size; files
    // that ask for more than this many per byte (sections may overlap and
    // triangles repeat) are refused rather than parsed in quadratic time.
    static constexpr std::int64_t MAX_NORMALS_PER_FILE_BYTE = 4;

    // Loads `path`; a rejected header leaves the model empty, and a missing or
    // broken file ends the process.
    explicit Md2Model(const char* path);

    // An empty model, for parsing bytes that are already in memory.
    Md2Model() = default;

    Md2Model(const Md2Model&) = delete;
    Md2Model& operator=(const Md2Model&) = delete;

    // Reads the whole file and parses it. Returns false when the header is
    // rejected; a missing or broken file ends the process with status 1.
    bool load(const char* path);

    // Parses a whole file's bytes into this empty model, checking every
    // count, offset and index against the bytes first; reports a broken file
    // instead of ending the process. `fileName` only names it in messages.
    Md2ParseResult parse(const std::uint8_t* bytes, std::size_t size, const std::string& fileName);

    void setTexture(std::uint32_t texture) { skinTexture = texture; }

    // The value of the decimal digits that end a frame name of at most 16
    // bytes (stand01 -> 1, base -> 0).
    static std::int32_t frameNumber(const char* name);

    // Fills `normals`: each vertex of a frame carries the face normal of the
    // last triangle in file order that uses it (zero when none has one).
    void computeNormals();

    // Attaches `animationState` to this model and selects animation `number`
    // in it; numbers the model or the table cannot play select 0.
    void setAnimation(AnimationState& animationState, std::int32_t number);
    // Advances the attached state to `time` (seconds), one frame step at most.
    void animate(float time);
    // Blends the attached state's two frames into `positionsOut` and
    // `normalsOut`, vertexCount entries of 3 floats each.
    void interpolate(float* positionsOut, float* normalsOut) const;

    // Advance (when time > 0), then emit the model textured or for the shadow pass.
    void draw(float time);
    void drawShadow(float time);
    void render() const;
    void renderShadow() const;

    std::vector<float> positions;  // frameCount x vertexCount x 3, scene axes
    std::int32_t vertexCount = 0;
    std::int32_t frameCount = 0;
    std::int32_t animationCount = 0;
    std::int32_t triangleCount = 0;
    std::vector<Triangle> triangles;
    std::int32_t commandCount = 0;
    // The command list as read: counts, vertex indices and the bits of float
    // texture coordinates, one 32-bit word each. Checked at load: every
    // primitive lies inside the words and names vertices below vertexCount.
    std::vector<std::int32_t> commands;
    std::vector<float> normals;     // same shape as positions; unit or zero length
    std::uint32_t skinTexture = 0;  // GL texture name, 0 until setTexture
    float scale = 1.0f;
    // The state of the actor that drew this model last; not owned.
    AnimationState* state = nullptr;

private:
    // The triangles that are the last in file order to use some vertex: the
    // only ones whose normals survive in a frame without degenerate
    // triangles (about half of a figure's triangles).
    struct NormalDeciders {
        std::vector<std::int32_t> triangles;  // ascending
        std::vector<std::int32_t> ofVertex;   // index into `triangles`, -1 for a vertex no triangle uses
    };
    NormalDeciders normalDeciders() const;
    // Gives every vertex its deciding triangle's normal, using
    // `decidedNormals` (three floats per deciding triangle) as scratch. False,
    // with the frame untouched, when a deciding triangle is degenerate.
    bool storeDecidedNormals(const float* framePositions, float* frameNormals, const NormalDeciders& deciders,
                             float* decidedNormals) const;
    void storeAllFaceNormals(const float* framePositions, float* frameNormals) const;
    // The shadow pass sends no texture coordinates.
    enum class TexCoords { Send, Skip };
    void emitCommands(const float* blendedPositions, const float* blendedNormals, TexCoords texCoords) const;
};
