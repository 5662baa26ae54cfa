#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "ShowFacts.h"
#include "kit/Vec3.h"

// A corner of a drawn primitive: which vertex, and where on the skin. The
// skin coordinate t counts from the top of the picture, because the program
// sends (s, -t) to a texture that repeats and whose first row is the bottom.
struct Corner {
    int vertex;
    double s;
    double t;
};

// A triangle strip or fan, drawn as OpenGL draws it.
struct Primitive {
    bool fan = false;
    std::vector<Corner> corners;
};

// The corners of each triangle of a primitive, in the order and winding
// OpenGL gives them.
std::vector<std::array<Corner, 3>> primitiveTriangles(const Primitive& primitive);

// One keyframe: its name (at most 15 characters) and every vertex's
// position in the model's axes.
struct Md2Frame {
    std::string name;
    std::vector<Vec3> positions;
};

// Everything an MD2 file holds for the program: the frames, the strips and
// fans of the command list (which also give the triangle and texture
// coordinate sections) and the name of the skin.
struct Md2Content {
    std::vector<Md2Frame> frames;
    std::vector<Primitive> primitives;
    std::string skinPath;
    int skinWidth = SKIN_SIZE;
    int skinHeight = SKIN_SIZE;
};

// The file's bytes, laid out by the formats library. Each frame's scale and
// translate span exactly its own bounding box, so the 8-bit coordinates use
// their whole range; the triangles are those the strips and fans draw, and
// each distinct skin texel they use is one texture coordinate.
std::vector<std::uint8_t> encodeMd2(const Md2Content& content);
