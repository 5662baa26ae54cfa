#include "formats/Md2Writer.h"

#include <cmath>
#include <cstring>
#include <map>
#include <utility>

namespace {

constexpr int HEADER_SIZE = 68;
constexpr int SKIN_NAME_SIZE = 64;
constexpr int FRAME_NAME_SIZE = 16;
constexpr int TRIANGLE_SIZE = 12;
constexpr int FRAME_HEADER_SIZE = 40;

class ByteSink {
public:
    std::vector<std::uint8_t> bytes;

    void int16(int value) {
        auto v = static_cast<std::uint16_t>(static_cast<std::int16_t>(value));
        bytes.push_back(static_cast<std::uint8_t>(v & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(v >> 8));
    }
    void int32(std::int32_t value) {
        auto v = static_cast<std::uint32_t>(value);
        for (int shift = 0; shift < 32; shift += 8) {
            bytes.push_back(static_cast<std::uint8_t>((v >> shift) & 0xFF));
        }
    }
    void float32(double value) {
        float f = static_cast<float>(value);
        std::uint32_t bits = 0;
        std::memcpy(&bits, &f, sizeof bits);
        int32(static_cast<std::int32_t>(bits));
    }
    void text(const std::string& value, size_t size) {
        for (size_t i = 0; i < size; ++i) {
            bytes.push_back(i < value.size() ? static_cast<std::uint8_t>(value[i]) : 0);
        }
    }
    void byte(int value) { bytes.push_back(static_cast<std::uint8_t>(value)); }
};

// A triangle of the file: vertex numbers and texture coordinate numbers.
struct FileTriangle {
    int vertex[3];
    int texCoord[3];
};

struct FrameBox {
    Vec3 scale;
    Vec3 translate;
};

// The 8-bit grid of one frame: from the lowest to the highest coordinate of
// each axis in 255 steps. A flat axis still gets a tiny non-zero step.
FrameBox frameBox(const std::vector<Vec3>& positions) {
    Vec3 low = positions.empty() ? Vec3() : positions.front();
    Vec3 high = low;
    for (const Vec3& p : positions) {
        low = {std::min(low.x, p.x), std::min(low.y, p.y), std::min(low.z, p.z)};
        high = {std::max(high.x, p.x), std::max(high.y, p.y), std::max(high.z, p.z)};
    }
    auto step = [](double range) { return std::max(range, 1e-3) / 255.0; };
    // Rounded to float as stored, so encoding uses the very grid a reader decodes.
    auto asStored = [](double value) { return static_cast<double>(static_cast<float>(value)); };
    FrameBox box;
    box.scale = {asStored(step(high.x - low.x)), asStored(step(high.y - low.y)), asStored(step(high.z - low.z))};
    box.translate = {asStored(low.x), asStored(low.y), asStored(low.z)};
    return box;
}

int quantise(double value, double translate, double scale) {
    long q = std::lround((value - translate) / scale);
    return static_cast<int>(std::min(255L, std::max(0L, q)));
}

struct TexCoordTable {
    std::vector<std::pair<int, int>> pixels;
    std::map<std::pair<int, int>, int> index;

    int find(const Corner& corner, int width, int height) {
        std::pair<int, int> key(static_cast<int>(std::lround(corner.s * width)),
                                static_cast<int>(std::lround(corner.t * height)));
        auto found = index.find(key);
        if (found != index.end()) {
            return found->second;
        }
        int number = static_cast<int>(pixels.size());
        pixels.push_back(key);
        index.emplace(key, number);
        return number;
    }
};

// The triangles in drawing order and winding, with their skin coordinates.
std::vector<FileTriangle> fileTriangles(const Md2Content& content, TexCoordTable& texCoords) {
    std::vector<FileTriangle> triangles;
    for (const Primitive& primitive : content.primitives) {
        const std::vector<Corner>& c = primitive.corners;
        for (size_t i = 2; i < c.size(); ++i) {
            const Corner* corners[3];
            if (primitive.fan) {
                corners[0] = &c[0], corners[1] = &c[i - 1], corners[2] = &c[i];
            } else if (i % 2 == 0) {
                corners[0] = &c[i - 2], corners[1] = &c[i - 1], corners[2] = &c[i];
            } else {
                corners[0] = &c[i - 1], corners[1] = &c[i - 2], corners[2] = &c[i];
            }
            FileTriangle triangle;
            for (int k = 0; k < 3; ++k) {
                triangle.vertex[k] = corners[k]->vertex;
                triangle.texCoord[k] = texCoords.find(*corners[k], content.skinWidth, content.skinHeight);
            }
            triangles.push_back(triangle);
        }
    }
    return triangles;
}

void writeCommands(ByteSink& out, const std::vector<Primitive>& primitives) {
    for (const Primitive& primitive : primitives) {
        int count = static_cast<int>(primitive.corners.size());
        out.int32(primitive.fan ? -count : count);
        for (const Corner& corner : primitive.corners) {
            out.float32(corner.s);
            out.float32(corner.t);
            out.int32(corner.vertex);
        }
    }
    out.int32(0);
}

int commandWords(const std::vector<Primitive>& primitives) {
    int words = 1;
    for (const Primitive& primitive : primitives) {
        words += 1 + 3 * static_cast<int>(primitive.corners.size());
    }
    return words;
}

}  // namespace

std::vector<std::uint8_t> encodeMd2(const Md2Content& content) {
    TexCoordTable texCoords;
    std::vector<FileTriangle> triangles = fileTriangles(content, texCoords);
    int vertexCount = content.frames.empty() ? 0 : static_cast<int>(content.frames.front().positions.size());
    int frameSize = FRAME_HEADER_SIZE + 4 * vertexCount;
    int skinCount = content.skinPath.empty() ? 0 : 1;
    int texCoordCount = static_cast<int>(texCoords.pixels.size());
    int triangleCount = static_cast<int>(triangles.size());
    int frameCount = static_cast<int>(content.frames.size());
    int commandCount = commandWords(content.primitives);

    int skinsOffset = HEADER_SIZE;
    int texCoordsOffset = skinsOffset + skinCount * SKIN_NAME_SIZE;
    int trianglesOffset = texCoordsOffset + texCoordCount * 4;
    int framesOffset = trianglesOffset + triangleCount * TRIANGLE_SIZE;
    int commandsOffset = framesOffset + frameCount * frameSize;
    int endOffset = commandsOffset + commandCount * 4;

    ByteSink out;
    out.text("IDP2", 4);
    for (int value : {8, content.skinWidth, content.skinHeight, frameSize, skinCount, vertexCount, texCoordCount,
                      triangleCount, commandCount, frameCount, skinsOffset, texCoordsOffset, trianglesOffset,
                      framesOffset, commandsOffset, endOffset}) {
        out.int32(value);
    }
    if (skinCount > 0) {
        out.text(content.skinPath, SKIN_NAME_SIZE);
    }
    for (const std::pair<int, int>& st : texCoords.pixels) {
        out.int16(st.first);
        out.int16(st.second);
    }
    for (const FileTriangle& triangle : triangles) {
        for (int vertex : triangle.vertex) {
            out.int16(vertex);
        }
        for (int texCoord : triangle.texCoord) {
            out.int16(texCoord);
        }
    }
    for (const Md2Frame& frame : content.frames) {
        FrameBox box = frameBox(frame.positions);
        for (double value :
             {box.scale.x, box.scale.y, box.scale.z, box.translate.x, box.translate.y, box.translate.z}) {
            out.float32(value);
        }
        out.text(frame.name, FRAME_NAME_SIZE);
        for (const Vec3& p : frame.positions) {
            out.byte(quantise(p.x, box.translate.x, box.scale.x));
            out.byte(quantise(p.y, box.translate.y, box.scale.y));
            out.byte(quantise(p.z, box.translate.z, box.scale.z));
            out.byte(0);
        }
    }
    writeCommands(out, content.primitives);
    return out.bytes;
}
