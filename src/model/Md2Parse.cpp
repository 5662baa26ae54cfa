#include <cstddef>
#include <cstring>
#include <string>

#include "model/Md2File.h"
#include "model/Md2Model.h"

using namespace md2file;

// Checking and decoding a whole MD2 file's bytes: every count, offset and
// index is checked against the size before anything is allocated.

namespace {

struct Md2Header {
    std::int32_t version, frameSize, vertexCount, triangleCount, commandCount, frameCount;
    std::int32_t trianglesOffset, framesOffset, commandsOffset;
    bool magicMatches;
};

Md2Header readHeader(const std::uint8_t* bytes) {
    Md2Header header;
    header.magicMatches = std::memcmp(bytes, MD2_MAGIC, sizeof MD2_MAGIC) == 0;
    header.version = readInt32(bytes + offsetof(FileHeader, version));
    header.frameSize = readInt32(bytes + offsetof(FileHeader, frameSize));
    header.vertexCount = readInt32(bytes + offsetof(FileHeader, vertexCount));
    header.triangleCount = readInt32(bytes + offsetof(FileHeader, triangleCount));
    header.commandCount = readInt32(bytes + offsetof(FileHeader, commandCount));
    header.frameCount = readInt32(bytes + offsetof(FileHeader, frameCount));
    header.trianglesOffset = readInt32(bytes + offsetof(FileHeader, trianglesOffset));
    header.framesOffset = readInt32(bytes + offsetof(FileHeader, framesOffset));
    header.commandsOffset = readInt32(bytes + offsetof(FileHeader, commandsOffset));
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

}  // namespace

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

        const std::uint8_t* scale = record + offsetof(FrameHeader, scale);
        const std::uint8_t* translate = record + offsetof(FrameHeader, translate);
        double scaleX = wordAsFloat(readInt32(scale)), scaleY = wordAsFloat(readInt32(scale + 4)),
               scaleZ = wordAsFloat(readInt32(scale + 8));
        double translateX = wordAsFloat(readInt32(translate)), translateY = wordAsFloat(readInt32(translate + 4)),
               translateZ = wordAsFloat(readInt32(translate + 8));
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
