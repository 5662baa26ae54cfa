#pragma once

#include <vector>

#include "ShowFacts.h"
#include "characters/BodyPart.h"
#include "characters/Md2Content.h"
#include "characters/Skeleton.h"

namespace characters {

// A vertex of the figure in its rest pose and the (at most two) joints that
// carry it.
struct MeshVertex {
    Vec3 rest;
    Joint joints[2];
    double weights[2];
};

// A whole figure: its parts, the vertices they make and the strips and fans
// that draw them. Every triangle is wound clockwise seen from outside, so
// with clockwise front faces and back faces culled the outside shows.
struct CharacterMesh {
    std::vector<BodyPart> parts;
    std::vector<MeshVertex> vertices;
    std::vector<Primitive> primitives;

    // Adds a part's vertices and primitives; returns its index in `parts`.
    int addPart(const BodyPart& part);
    int triangleCount() const;
    // Vertex positions for a posed skeleton.
    std::vector<Vec3> pose(const Skeleton& skeleton, const PosedJoints& posed) const;
};

// Six times the enclosed volume, counted positive when the triangles of
// `primitives` face outwards as the program draws them.
double outwardVolume(const std::vector<Primitive>& primitives, const std::vector<Vec3>& positions);

}  // namespace characters
