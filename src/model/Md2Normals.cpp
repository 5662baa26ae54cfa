#include <cmath>
#include <cstring>

#include "model/Md2Model.h"

// One face normal per vertex per frame, computed once at load time.

namespace {

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

void Md2Model::computeNormals() {
    // Cleared first, so that resizing value-initialises (memset) every float.
    normals.clear();
    normals.resize(positions.size());
    const NormalDeciders deciders = normalDeciders();
    std::vector<float> decidedNormals(deciders.triangles.size() * 3);
    const std::size_t frameFloats = std::size_t(vertexCount) * 3;
    for (std::int32_t frame = 0; frame < frameCount; ++frame) {
        const float* framePositions = positions.data() + std::size_t(frame) * frameFloats;
        float* frameNormals = normals.data() + std::size_t(frame) * frameFloats;
        // When every triangle decides a vertex, as in a plain strip, the
        // shortcut has nothing to skip.
        if (deciders.triangles.size() == triangles.size()) {
            storeAllFaceNormals(framePositions, frameNormals);
        } else if (!storeDecidedNormals(framePositions, frameNormals, deciders, decidedNormals.data())) {
            // A degenerate deciding triangle hands its vertices back to the
            // triangles before it, which only the pass over all of them finds.
            storeAllFaceNormals(framePositions, frameNormals);
        }
    }
}

Md2Model::NormalDeciders Md2Model::normalDeciders() const {
    const std::int32_t count = std::int32_t(triangles.size());
    std::vector<std::int32_t> lastUser(std::size_t(vertexCount), -1);
    for (std::int32_t i = 0; i < count; ++i) {
        for (std::int16_t vertex : triangles[std::size_t(i)].vertexIndices) {
            lastUser[std::size_t(vertex)] = i;
        }
    }
    // Numbers each deciding triangle by its place among them, in file order.
    std::vector<std::int32_t> place(std::size_t(count), -1);
    for (std::int32_t user : lastUser) {
        if (user >= 0) {
            place[std::size_t(user)] = 0;
        }
    }
    NormalDeciders deciders;
    for (std::int32_t i = 0; i < count; ++i) {
        if (place[std::size_t(i)] == 0) {
            place[std::size_t(i)] = std::int32_t(deciders.triangles.size());
            deciders.triangles.push_back(i);
        }
    }
    deciders.ofVertex.resize(lastUser.size(), -1);
    for (std::size_t vertex = 0; vertex < lastUser.size(); ++vertex) {
        if (lastUser[vertex] >= 0) {
            deciders.ofVertex[vertex] = place[std::size_t(lastUser[vertex])];
        }
    }
    return deciders;
}

bool Md2Model::storeDecidedNormals(const float* framePositions, float* frameNormals, const NormalDeciders& deciders,
                                   float* decidedNormals) const {
    for (std::size_t i = 0; i < deciders.triangles.size(); ++i) {
        if (!faceNormal(framePositions, triangles[std::size_t(deciders.triangles[i])], decidedNormals + i * 3)) {
            return false;
        }
    }
    // Each vertex gets its deciding triangle's normal once, which is what it
    // ends with when every triangle writes all three corners in file order.
    for (std::size_t vertex = 0; vertex < deciders.ofVertex.size(); ++vertex) {
        if (deciders.ofVertex[vertex] >= 0) {
            std::memcpy(frameNormals + vertex * 3, decidedNormals + std::size_t(deciders.ofVertex[vertex]) * 3,
                        3 * sizeof(float));
        }
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
