#include "model/Md2Model.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <cstring>

#include "platform/FileBytes.h"
#include "platform/ProcessExit.h"

namespace {

constexpr std::size_t HEADER_SIZE = 68;
constexpr char MD2_MAGIC[4] = {'I', 'D', 'P', '2'};
constexpr std::int32_t MD2_VERSION = 8;
// A frame record starts with scale, translate (3 floats each) and a 16-byte name.
constexpr std::int64_t FRAME_HEADER_SIZE = 40;
constexpr std::int64_t FRAME_NAME_OFFSET = 24;
constexpr std::size_t FRAME_NAME_LENGTH = 16;
constexpr std::int64_t PACKED_VERTEX_SIZE = 4;
constexpr std::int64_t TRIANGLE_SIZE = 12;
constexpr std::int64_t COMMAND_WORD_SIZE = 4;
constexpr std::int64_t WORDS_PER_COMMAND_VERTEX = 3;

// The blended frame being drawn, one pair for each draw variant. Shared by
// every model, so draws must not overlap; they are never allocated again.
float texturedPositions[Md2Model::MAX_VERTICES * 3];
float texturedNormals[Md2Model::MAX_VERTICES * 3];
float shadowPositions[Md2Model::MAX_VERTICES * 3];
float shadowNormals[Md2Model::MAX_VERTICES * 3];

std::int32_t readInt32(const std::uint8_t* bytes) {
    std::uint32_t value = std::uint32_t(bytes[0]) | std::uint32_t(bytes[1]) << 8 | std::uint32_t(bytes[2]) << 16 |
                          std::uint32_t(bytes[3]) << 24;
    return static_cast<std::int32_t>(value);
}

std::int16_t readInt16(const std::uint8_t* bytes) {
    return static_cast<std::int16_t>(bytes[0] | bytes[1] << 8);
}

float wordAsFloat(std::int32_t word) {
    float value;
    std::memcpy(&value, &word, sizeof value);
    return value;
}

struct Md2Header {
    std::int32_t version, frameSize, vertexCount, triangleCount, commandCount, frameCount;
    std::int32_t trianglesOffset, framesOffset, commandsOffset;
    bool magicMatches;
};

Md2Header readHeader(const std::uint8_t* bytes) {
    Md2Header header;
    header.magicMatches = std::memcmp(bytes, MD2_MAGIC, sizeof MD2_MAGIC) == 0;
    header.version = readInt32(bytes + 4);
    header.frameSize = readInt32(bytes + 16);
    header.vertexCount = readInt32(bytes + 24);
    header.triangleCount = readInt32(bytes + 32);
    header.commandCount = readInt32(bytes + 36);
    header.frameCount = readInt32(bytes + 40);
    header.trianglesOffset = readInt32(bytes + 52);
    header.framesOffset = readInt32(bytes + 56);
    header.commandsOffset = readInt32(bytes + 60);
    return header;
}

// All in 64 bits: counts and sizes come from the file and may be anything.
bool sectionInside(std::int64_t offset, std::int64_t count, std::int64_t recordSize, std::size_t fileSize) {
    if (count == 0) {
        return true;
    }
    return offset >= 0 && offset + count * recordSize <= static_cast<std::int64_t>(fileSize);
}

bool vertexIndexValid(std::int64_t index, std::int32_t vertexCount) {
    return index >= 0 && index < vertexCount;
}

// The header's counts and sections; an empty string when they can be used.
std::string headerProblem(const Md2Header& header, std::size_t fileSize) {
    const struct {
        const char* name;
        std::int32_t value;
    } counts[] = {{"frameSize", header.frameSize},
                  {"vertexCount", header.vertexCount},
                  {"triangleCount", header.triangleCount},
                  {"commandCount", header.commandCount},
                  {"frameCount", header.frameCount}};
    for (const auto& count : counts) {
        if (count.value < 0) {
            return std::string(count.name) + " " + std::to_string(count.value) + " is negative";
        }
    }
    if (header.vertexCount > Md2Model::MAX_VERTICES) {
        return std::to_string(header.vertexCount) + " vertices per frame, more than the " +
               std::to_string(Md2Model::MAX_VERTICES) + " a model may have";
    }
    if (header.frameCount > 0 &&
        header.frameSize < FRAME_HEADER_SIZE + PACKED_VERTEX_SIZE * std::int64_t(header.vertexCount)) {
        return "frameSize " + std::to_string(header.frameSize) + " cannot hold 40 bytes and " +
               std::to_string(header.vertexCount) + " packed vertices";
    }
    if (!sectionInside(header.framesOffset, header.frameCount, header.frameSize, fileSize)) {
        return "its frames lie outside the file";
    }
    if (!sectionInside(header.trianglesOffset, header.triangleCount, TRIANGLE_SIZE, fileSize)) {
        return "its triangles lie outside the file";
    }
    if (!sectionInside(header.commandsOffset, header.commandCount, COMMAND_WORD_SIZE, fileSize)) {
        return "its command list lies outside the file";
    }
    // Frames lie back to back inside the file with 4 bytes per vertex, so
    // frames x vertices is bounded by the size already; triangles may repeat
    // and overlap the frames, so their work per frame is not.
    if (std::int64_t(header.frameCount) * header.triangleCount >
        Md2Model::MAX_NORMALS_PER_FILE_BYTE * std::int64_t(fileSize)) {
        return std::to_string(header.frameCount) + " frames x " + std::to_string(header.triangleCount) +
               " triangles, more normals than its " + std::to_string(fileSize) + " bytes can describe";
    }
    return "";
}

std::string trianglesProblem(const std::uint8_t* bytes, const Md2Header& header) {
    for (std::int64_t i = 0; i < header.triangleCount; ++i) {
        const std::uint8_t* record = bytes + header.trianglesOffset + i * TRIANGLE_SIZE;
        for (int corner = 0; corner < 3; ++corner) {
            std::int16_t index = readInt16(record + corner * 2);
            if (!vertexIndexValid(index, header.vertexCount)) {
                return "triangle " + std::to_string(i) + " names vertex " + std::to_string(index) + " of " +
                       std::to_string(header.vertexCount);
            }
        }
    }
    return "";
}

// Walks the list as drawing will: up to a 0 count or the end of its words,
// whichever comes first. Every primitive must fit in the words left.
std::string commandsProblem(const std::uint8_t* bytes, const Md2Header& header) {
    const std::int64_t wordCount = header.commandCount;
    auto wordAt = [&](std::int64_t word) {
        return readInt32(bytes + header.commandsOffset + word * COMMAND_WORD_SIZE);
    };
    std::int64_t word = 0;
    while (word < wordCount) {
        std::int64_t count = wordAt(word);
        ++word;
        if (count == 0) {
            break;
        }
        std::int64_t vertices = count < 0 ? -count : count;
        if (vertices > (wordCount - word) / WORDS_PER_COMMAND_VERTEX) {
            return "the primitive at word " + std::to_string(word - 1) + " runs past the " + std::to_string(wordCount) +
                   " words of the command list";
        }
        for (std::int64_t v = 0; v < vertices; ++v) {
            std::int64_t indexWord = word + v * WORDS_PER_COMMAND_VERTEX + 2;
            std::int32_t index = wordAt(indexWord);
            if (!vertexIndexValid(index, header.vertexCount)) {
                return "the command list names vertex " + std::to_string(index) + " of " +
                       std::to_string(header.vertexCount);
            }
        }
        word += vertices * WORDS_PER_COMMAND_VERTEX;
    }
    return "";
}

// A frame step wraps a frame the model lacks to frame 0; drawing reads such
// a frame, which a state may hold before its first step, the same way.
std::int32_t frameOrZero(std::int32_t frame, std::int32_t frameCount) {
    return frame >= 0 && frame < frameCount ? frame : 0;
}

// (P0 - P1) x (P1 - P2) of the triangle's corners in one frame, made unit
// length in double precision and rounded to float once. False for a
// degenerate triangle, which has no normal.
inline bool faceNormal(const float* framePositions, const Md2Model::Triangle& triangle, float normal[3]) {
    const float* p0 = framePositions + triangle.vertexIndices[0] * 3;
    const float* p1 = framePositions + triangle.vertexIndices[1] * 3;
    const float* p2 = framePositions + triangle.vertexIndices[2] * 3;
    double a[3] = {double(p0[0]) - p1[0], double(p0[1]) - p1[1], double(p0[2]) - p1[2]};
    double b[3] = {double(p1[0]) - p2[0], double(p1[1]) - p2[1], double(p1[2]) - p2[2]};
    double n[3] = {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
    double length = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
    if (!(length > 0.0) || !std::isfinite(length)) {
        return false;
    }
    normal[0] = float(n[0] / length);
    normal[1] = float(n[1] / length);
    normal[2] = float(n[2] / length);
    return true;
}

// Not averaged: the normal replaces whatever the corners held.
void storeCornerNormals(float* frameNormals, const Md2Model::Triangle& triangle, const float normal[3]) {
    for (std::int16_t vertex : triangle.vertexIndices) {
        std::memcpy(frameNormals + vertex * 3, normal, 3 * sizeof(float));
    }
}

}  // namespace

Md2Model::Md2Model(const char* path) {
    load(path);
}

bool Md2Model::load(const char* path) {
    std::vector<std::uint8_t> bytes;
    platform::FileReadStatus read = platform::readFileBytes(path, MAX_FILE_BYTES, bytes);
    if (read == platform::FileReadStatus::Missing) {
        platform::exitWithMessage(platform::OutputStream::StandardError,
                                  std::string("Error! Cannot find file: ") + path, 1);
    }
    if (read == platform::FileReadStatus::TooLarge) {
        platform::exitWithMessage(platform::OutputStream::StandardError,
                                  std::string("Error! Broken model file: ") + path + " (it is larger than the " +
                                      platform::byteCountText(MAX_FILE_BYTES) + " a model file may take)",
                                  1);
    }
    Md2ParseResult result = parse(bytes.data(), bytes.size(), path);
    if (result.status == Md2ParseStatus::Broken) {
        platform::exitWithMessage(platform::OutputStream::StandardError, result.message, 1);
    }
    return result.status == Md2ParseStatus::Loaded;
}

Md2ParseResult Md2Model::parse(const std::uint8_t* bytes, std::size_t size, const std::string& fileName) {
    auto broken = [&](const std::string& what) {
        return Md2ParseResult{Md2ParseStatus::Broken, "Error! Broken model file: " + fileName + " (" + what + ")"};
    };
    if (size < HEADER_SIZE) {
        return broken("it ends inside its 68-byte header");
    }
    Md2Header header = readHeader(bytes);
    // Either the magic or the version is enough.
    if (!header.magicMatches && header.version != MD2_VERSION) {
        return {Md2ParseStatus::HeaderRejected, ""};
    }

    // check everything before anything is allocated
    std::string problem = headerProblem(header, size);
    if (problem.empty()) {
        problem = trianglesProblem(bytes, header);
    }
    if (problem.empty()) {
        problem = commandsProblem(bytes, header);
    }
    if (!problem.empty()) {
        return broken(problem);
    }

    vertexCount = header.vertexCount;
    frameCount = header.frameCount;
    triangleCount = header.triangleCount;
    commandCount = header.commandCount;

    // copy the command list and the triangles as stored
    commands.resize(std::size_t(commandCount));
    for (std::size_t i = 0; i < commands.size(); ++i) {
        commands[i] = readInt32(bytes + header.commandsOffset + i * COMMAND_WORD_SIZE);
    }
    triangles.resize(std::size_t(triangleCount));
    for (std::size_t i = 0; i < triangles.size(); ++i) {
        const std::uint8_t* record = bytes + header.trianglesOffset + i * TRIANGLE_SIZE;
        for (int corner = 0; corner < 3; ++corner) {
            triangles[i].vertexIndices[corner] = readInt16(record + corner * 2);
            triangles[i].texCoordIndices[corner] = readInt16(record + 6 + corner * 2);
        }
    }

    // decode the frames into the scene's axes and count the animations
    positions.resize(std::size_t(frameCount) * vertexCount * 3);
    std::int32_t previousNumber = 0;
    std::int32_t drops = 0;
    for (std::int32_t frame = 0; frame < frameCount; ++frame) {
        const std::uint8_t* record = bytes + header.framesOffset + std::int64_t(frame) * header.frameSize;
        char name[FRAME_NAME_LENGTH + 1] = {};
        std::memcpy(name, record + FRAME_NAME_OFFSET, FRAME_NAME_LENGTH);
        std::int32_t number = frameNumber(name);
        // Only a drop starts a new animation; a run that starts higher merges.
        if (number < previousNumber) {
            ++drops;
        }
        previousNumber = number;

        double scaleX = wordAsFloat(readInt32(record)), scaleY = wordAsFloat(readInt32(record + 4)),
               scaleZ = wordAsFloat(readInt32(record + 8));
        double translateX = wordAsFloat(readInt32(record + 12)), translateY = wordAsFloat(readInt32(record + 16)),
               translateZ = wordAsFloat(readInt32(record + 20));
        float* target = positions.data() + std::size_t(frame) * vertexCount * 3;
        for (std::int32_t vertex = 0; vertex < vertexCount; ++vertex) {
            const std::uint8_t* packed = record + FRAME_HEADER_SIZE + vertex * PACKED_VERTEX_SIZE;
            // The file's z is the scene's up axis; its y becomes the scene's -z.
            target[vertex * 3 + 0] = float(packed[0] * scaleX + translateX);
            target[vertex * 3 + 1] = float(packed[2] * scaleZ + translateZ);
            target[vertex * 3 + 2] = float(-(packed[1] * scaleY + translateY));
        }
    }
    animationCount = drops + 1;

    computeNormals();
    return {Md2ParseStatus::Loaded, ""};
}

std::int32_t Md2Model::frameNumber(const char* name) {
    std::size_t length = 0;
    while (length < FRAME_NAME_LENGTH && name[length] != '\0') {
        ++length;
    }
    std::size_t digitsStart = length;
    while (digitsStart > 0 && name[digitsStart - 1] >= '0' && name[digitsStart - 1] <= '9') {
        --digitsStart;
    }
    // Unsigned, so that a run of more digits than 32 bits hold wraps instead
    // of overflowing.
    std::uint32_t value = 0;
    for (std::size_t i = digitsStart; i < length; ++i) {
        value = value * 10 + std::uint32_t(name[i] - '0');
    }
    return static_cast<std::int32_t>(value);
}

void Md2Model::computeNormals() {
    // Cleared first, so that resizing value-initialises (memset) every float.
    normals.clear();
    normals.resize(positions.size());
    const std::vector<std::int32_t> deciding = decidingTriangles();
    const std::size_t frameFloats = std::size_t(vertexCount) * 3;
    for (std::int32_t frame = 0; frame < frameCount; ++frame) {
        const float* framePositions = positions.data() + std::size_t(frame) * frameFloats;
        float* frameNormals = normals.data() + std::size_t(frame) * frameFloats;
        // When every triangle decides a vertex, as in a plain strip, the
        // shortcut has nothing to skip.
        if (deciding.size() == triangles.size()) {
            storeAllFaceNormals(framePositions, frameNormals);
        } else if (!storeFaceNormals(framePositions, frameNormals, deciding.data(), deciding.size())) {
            // A degenerate deciding triangle hands its vertices back to the
            // triangles before it, which only the pass over all of them finds.
            std::fill(frameNormals, frameNormals + frameFloats, 0.0f);
            storeAllFaceNormals(framePositions, frameNormals);
        }
    }
}

std::vector<std::int32_t> Md2Model::decidingTriangles() const {
    const std::int32_t count = std::int32_t(triangles.size());
    std::vector<std::int32_t> lastUser(std::size_t(vertexCount), -1);
    for (std::int32_t i = 0; i < count; ++i) {
        for (std::int16_t vertex : triangles[std::size_t(i)].vertexIndices) {
            lastUser[std::size_t(vertex)] = i;
        }
    }
    std::vector<bool> decides(std::size_t(count), false);
    for (std::int32_t user : lastUser) {
        if (user >= 0) {
            decides[std::size_t(user)] = true;
        }
    }
    std::vector<std::int32_t> deciding;
    for (std::int32_t i = 0; i < count; ++i) {
        if (decides[std::size_t(i)]) {
            deciding.push_back(i);
        }
    }
    return deciding;
}

bool Md2Model::storeFaceNormals(const float* framePositions, float* frameNormals, const std::int32_t* order,
                                std::size_t count) const {
    // In file order, so a vertex shared by two deciding triangles ends with
    // the later one's normal.
    for (std::size_t i = 0; i < count; ++i) {
        const Triangle& triangle = triangles[std::size_t(order[i])];
        float normal[3];
        if (!faceNormal(framePositions, triangle, normal)) {
            return false;
        }
        storeCornerNormals(frameNormals, triangle, normal);
    }
    return true;
}

void Md2Model::storeAllFaceNormals(const float* framePositions, float* frameNormals) const {
    for (const Triangle& triangle : triangles) {
        float normal[3];
        // A degenerate triangle has no normal: it leaves its vertices as they
        // are rather than giving them NaN.
        if (faceNormal(framePositions, triangle, normal)) {
            storeCornerNormals(frameNormals, triangle, normal);
        }
    }
}

void Md2Model::setAnimation(AnimationState& animationState, std::int32_t number) {
    state = &animationState;
    // A number equal to animationCount is still accepted.
    if (number < 0 || number > animationCount || number > ANIMATION_RANGE_COUNT - 1) {
        number = 0;
    }
    // Selecting the animation in effect does not restart it.
    if (number == animationState.animation) {
        return;
    }
    const AnimationRange& range = animationRanges[number];
    animationState.firstFrame = range.firstFrame;
    animationState.lastFrame = range.lastFrame;
    // The current frame is kept: the new range is blended into from wherever
    // the previous one stood.
    animationState.nextFrame = range.firstFrame + 1;
    animationState.framesPerSecond = range.framesPerSecond;
    animationState.animation = number;
}

void Md2Model::animate(float time) {
    if (state == nullptr) {
        return;
    }
    AnimationState& s = *state;
    s.currentTime = time;
    // Strictly greater, and one step at most however long it has been.
    if (s.currentTime - s.stepTime > 1.0f / float(s.framesPerSecond)) {
        s.currentFrame = s.nextFrame;
        s.nextFrame = s.nextFrame + 1;
        if (s.nextFrame > s.lastFrame) {
            s.nextFrame = s.firstFrame;
        }
        s.stepTime = s.currentTime;
    }
    if (s.currentFrame > frameCount - 1) {
        s.currentFrame = 0;
    }
    if (s.nextFrame > frameCount - 1) {
        s.nextFrame = 0;
    }
    s.blend = (s.currentTime - s.stepTime) * float(s.framesPerSecond);
}

void Md2Model::interpolate(float* positionsOut, float* normalsOut) const {
    if (frameCount == 0) {
        return;
    }
    // A model nobody attached a state to shows its first frame.
    std::int32_t from = frameOrZero(state ? state->currentFrame : 0, frameCount);
    std::int32_t to = frameOrZero(state ? state->nextFrame : 0, frameCount);
    double blend = state ? state->blend : 0.0f;
    double k = scale;
    const std::size_t frameFloats = std::size_t(vertexCount) * 3;
    const float* fromPositions = positions.data() + from * frameFloats;
    const float* toPositions = positions.data() + to * frameFloats;
    const float* fromNormals = normals.data() + from * frameFloats;
    const float* toNormals = normals.data() + to * frameFloats;
    for (std::size_t i = 0; i < frameFloats; ++i) {
        positionsOut[i] = float((fromPositions[i] + (double(toPositions[i]) - fromPositions[i]) * blend) * k);
        // Stored normals point the other way; GL_NORMALIZE renormalises them.
        normalsOut[i] = float(-(fromNormals[i] + (double(toNormals[i]) - fromNormals[i]) * blend) * k);
    }
}

void Md2Model::draw(float time) {
    if (time > 0.0f) {
        animate(time);
    }
    render();
}

void Md2Model::drawShadow(float time) {
    if (time > 0.0f) {
        animate(time);
    }
    renderShadow();
}

// Changes culling and front face inside an attribute push, so the caller's
// polygon state comes back; leaves the colour white, texturing off and the
// skin bound.
void Md2Model::render() const {
    glPushAttrib(GL_POLYGON_BIT);
    glFrontFace(GL_CW);
    glCullFace(GL_BACK);
    glEnable(GL_CULL_FACE);
    interpolate(texturedPositions, texturedNormals);
    glColor3f(1.0f, 1.0f, 1.0f);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, skinTexture);
    emitCommands(texturedPositions, texturedNormals, true);
    glDisable(GL_TEXTURE_2D);
    glPopAttrib();
}

// Sets no colour, texture or lighting: the shadow pass has set them up.
void Md2Model::renderShadow() const {
    glPushAttrib(GL_POLYGON_BIT);
    glFrontFace(GL_CW);
    glCullFace(GL_BACK);
    glEnable(GL_CULL_FACE);
    interpolate(shadowPositions, shadowNormals);
    emitCommands(shadowPositions, shadowNormals, false);
    glPopAttrib();
}

// The list was checked at load: every primitive fits in the words and names
// vertices below vertexCount, so the walk stops at a 0 count or the end.
void Md2Model::emitCommands(const float* blendedPositions, const float* blendedNormals, bool textured) const {
    if (frameCount == 0) {
        return;
    }
    std::size_t word = 0;
    while (word < commands.size()) {
        std::int64_t count = commands[word++];
        if (count == 0) {
            break;
        }
        glBegin(count < 0 ? GL_TRIANGLE_FAN : GL_TRIANGLE_STRIP);
        std::int64_t vertices = count < 0 ? -count : count;
        for (std::int64_t v = 0; v < vertices; ++v, word += WORDS_PER_COMMAND_VERTEX) {
            std::int32_t index = commands[word + 2];
            if (textured) {
                // Negated rather than 1 - t: the skin repeats, so both land alike.
                glTexCoord2f(wordAsFloat(commands[word]), -wordAsFloat(commands[word + 1]));
            }
            glNormal3fv(blendedNormals + index * 3);
            glVertex3fv(blendedPositions + index * 3);
        }
        glEnd();
    }
}
