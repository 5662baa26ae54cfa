#include "characters/Md2Content.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <utility>

#include "formats/Md2Writer.h"

namespace {

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

std::uint8_t quantise(double value, double translate, double scale) {
    long q = std::lround((value - translate) / scale);
    return static_cast<std::uint8_t>(std::min(255L, std::max(0L, q)));
}

Md2FrameRecord packFrame(const Md2Frame& frame) {
    FrameBox box = frameBox(frame.positions);
    Md2FrameRecord record;
    record.name = frame.name;
    auto store = [](float(&stored)[3], const Vec3& value) {
        stored[0] = static_cast<float>(value.x);
        stored[1] = static_cast<float>(value.y);
        stored[2] = static_cast<float>(value.z);
    };
    store(record.scale, box.scale);
    store(record.translate, box.translate);
    for (const Vec3& p : frame.positions) {
        record.vertices.push_back({quantise(p.x, box.translate.x, box.scale.x),
                                   quantise(p.y, box.translate.y, box.scale.y),
                                   quantise(p.z, box.translate.z, box.scale.z)});
    }
    return record;
}

// Each distinct texel a corner uses, numbered in the order first met.
struct TexCoordTable {
    std::vector<Md2TexCoordRecord> texels;
    std::map<std::pair<int, int>, int> index;

    int find(const Corner& corner, int width, int height) {
        std::pair<int, int> key(static_cast<int>(std::lround(corner.s * width)),
                                static_cast<int>(std::lround(corner.t * height)));
        auto found = index.find(key);
        if (found != index.end()) {
            return found->second;
        }
        int number = static_cast<int>(texels.size());
        texels.push_back({static_cast<std::int16_t>(key.first), static_cast<std::int16_t>(key.second)});
        index.emplace(key, number);
        return number;
    }
};

}  // namespace

std::vector<std::array<Corner, 3>> primitiveTriangles(const Primitive& primitive) {
    std::vector<std::array<Corner, 3>> triangles;
    const std::vector<Corner>& c = primitive.corners;
    for (size_t i = 2; i < c.size(); ++i) {
        if (primitive.fan) {
            triangles.push_back({c[0], c[i - 1], c[i]});
        } else if (i % 2 == 0) {
            triangles.push_back({c[i - 2], c[i - 1], c[i]});
        } else {
            triangles.push_back({c[i - 1], c[i - 2], c[i]});
        }
    }
    return triangles;
}

std::vector<std::uint8_t> encodeMd2(const Md2Content& content) {
    Md2Sections file;
    file.skinWidth = content.skinWidth;
    file.skinHeight = content.skinHeight;
    if (!content.skinPath.empty()) {
        file.skins.push_back(content.skinPath);
    }
    TexCoordTable texCoords;
    for (const Primitive& primitive : content.primitives) {
        for (const std::array<Corner, 3>& corners : primitiveTriangles(primitive)) {
            Md2TriangleRecord triangle;
            for (int k = 0; k < 3; ++k) {
                triangle.vertexIndices[k] = static_cast<std::int16_t>(corners[k].vertex);
                triangle.texCoordIndices[k] =
                    static_cast<std::int16_t>(texCoords.find(corners[k], content.skinWidth, content.skinHeight));
            }
            file.triangles.push_back(triangle);
        }
        std::vector<Md2CommandVertex> vertices;
        for (const Corner& corner : primitive.corners) {
            vertices.push_back({static_cast<float>(corner.s), static_cast<float>(corner.t), corner.vertex});
        }
        file.addPrimitive(vertices, primitive.fan ? Md2Primitive::Fan : Md2Primitive::Strip);
    }
    file.endCommands();
    file.texCoords = texCoords.texels;
    file.vertexCount = content.frames.empty() ? 0 : static_cast<int>(content.frames.front().positions.size());
    for (const Md2Frame& frame : content.frames) {
        file.frames.push_back(packFrame(frame));
    }
    return encodeMd2Sections(file);
}
