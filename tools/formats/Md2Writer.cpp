#include "formats/Md2Writer.h"

#include <cstddef>
#include <cstring>

#include "formats/ByteSink.h"
#include "model/Md2File.h"

using namespace md2file;

namespace {

std::int32_t sectionBytes(std::size_t count, std::int64_t recordSize) {
    return static_cast<std::int32_t>(static_cast<std::int64_t>(count) * recordSize);
}

FileHeader headerFor(const Md2Sections& sections) {
    FileHeader header;
    std::memcpy(header.magic, sections.magic.data(), sizeof header.magic);
    header.version = sections.version;
    header.skinWidth = sections.skinWidth;
    header.skinHeight = sections.skinHeight;
    header.frameSize = static_cast<std::int32_t>(FRAME_HEADER_SIZE + PACKED_VERTEX_SIZE * sections.vertexCount);
    header.skinCount = static_cast<std::int32_t>(sections.skins.size());
    header.vertexCount = sections.vertexCount;
    header.texCoordCount = static_cast<std::int32_t>(sections.texCoords.size());
    header.triangleCount = static_cast<std::int32_t>(sections.triangles.size());
    header.commandCount = static_cast<std::int32_t>(sections.commandWords.size());
    header.frameCount = static_cast<std::int32_t>(sections.frames.size());
    header.skinsOffset = static_cast<std::int32_t>(HEADER_SIZE);
    header.texCoordsOffset = header.skinsOffset + sectionBytes(sections.skins.size(), SKIN_NAME_SIZE);
    header.trianglesOffset = header.texCoordsOffset + sectionBytes(sections.texCoords.size(), TEX_COORD_SIZE);
    header.framesOffset = header.trianglesOffset + sectionBytes(sections.triangles.size(), TRIANGLE_SIZE);
    header.commandsOffset = header.framesOffset + sectionBytes(sections.frames.size(), header.frameSize);
    header.endOffset = header.commandsOffset + sectionBytes(sections.commandWords.size(), COMMAND_WORD_SIZE);
    return header;
}

// The header's 32-bit fields in the order they lie in the file.
void writeHeader(ByteSink& out, const FileHeader& header) {
    std::uint8_t stored[sizeof header];
    std::memcpy(stored, &header, sizeof header);
    out.bytes.insert(out.bytes.end(), stored, stored + sizeof header.magic);
    for (std::size_t offset = sizeof header.magic; offset < sizeof header; offset += sizeof(std::int32_t)) {
        std::int32_t field;
        std::memcpy(&field, stored + offset, sizeof field);
        out.int32(field);
    }
}

void writeFrame(ByteSink& out, const Md2FrameRecord& frame, std::int32_t vertexCount) {
    for (float value : frame.scale) {
        out.float32(value);
    }
    for (float value : frame.translate) {
        out.float32(value);
    }
    out.text(frame.name, FRAME_NAME_LENGTH);
    for (std::int32_t i = 0; i < vertexCount; ++i) {
        Md2PackedVertex vertex =
            static_cast<std::size_t>(i) < frame.vertices.size() ? frame.vertices[i] : Md2PackedVertex{};
        for (std::uint8_t coordinate : vertex) {
            out.byte(coordinate);
        }
        out.byte(0);
    }
}

}  // namespace

void Md2Sections::addPrimitive(const std::vector<Md2CommandVertex>& vertices, Md2Primitive kind) {
    std::int32_t count = static_cast<std::int32_t>(vertices.size());
    commandWords.push_back(kind == Md2Primitive::Fan ? -count : count);
    for (const Md2CommandVertex& vertex : vertices) {
        std::int32_t bits;
        std::memcpy(&bits, &vertex.s, sizeof bits);
        commandWords.push_back(bits);
        std::memcpy(&bits, &vertex.t, sizeof bits);
        commandWords.push_back(bits);
        commandWords.push_back(vertex.index);
    }
}

std::vector<std::uint8_t> encodeMd2Sections(const Md2Sections& sections) {
    const FileHeader header = headerFor(sections);
    ByteSink out;
    writeHeader(out, header);
    for (const std::string& skin : sections.skins) {
        out.text(skin, SKIN_NAME_SIZE);
    }
    for (const Md2TexCoordRecord& texCoord : sections.texCoords) {
        out.int16(texCoord.s);
        out.int16(texCoord.t);
    }
    for (const Md2TriangleRecord& triangle : sections.triangles) {
        for (std::int16_t index : triangle.vertexIndices) {
            out.int16(index);
        }
        for (std::int16_t index : triangle.texCoordIndices) {
            out.int16(index);
        }
    }
    for (const Md2FrameRecord& frame : sections.frames) {
        writeFrame(out, frame, sections.vertexCount);
    }
    for (std::int32_t word : sections.commandWords) {
        out.int32(word);
    }
    return out.bytes;
}
