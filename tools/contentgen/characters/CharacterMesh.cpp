#include "characters/CharacterMesh.h"

namespace characters {

namespace {

Corner skinCorner(const BodyPart& part, int vertex, double u, double v) {
    return {vertex, (part.atlas.x + u * part.atlas.width) / SKIN_SIZE,
            (part.atlas.y + v * part.atlas.height) / SKIN_SIZE};
}

// The strips and fans of one part, with vertex numbers counted from `base`:
// a fan round the first point, a strip for each band between neighbouring
// rings, a fan round the last point, wound as the rings run or the other way.
enum class Winding { AlongRings, Reversed };
std::vector<Primitive> partPrimitives(const BodyPart& part, int base, Winding winding) {
    const bool reverse = winding == Winding::Reversed;
    std::vector<double> v = part.ringParameters();
    int segments = part.segments;
    int ringCount = static_cast<int>(part.rings.size());
    int lastPoint = base + 1 + (ringCount - 2) * segments;
    auto ringVertex = [&](int ring, int k) { return base + 1 + (ring - 1) * segments + (k % segments); };
    auto u = [&](int k) { return static_cast<double>(k) / segments; };
    std::vector<Primitive> primitives;

    Primitive first;
    first.fan = true;
    first.corners.push_back(skinCorner(part, base, 0.5, 0.0));
    for (int step = 0; step <= segments; ++step) {
        int k = reverse ? segments - step : step;
        first.corners.push_back(skinCorner(part, ringVertex(1, k), u(k), v[1]));
    }
    primitives.push_back(first);

    for (int ring = 1; ring + 2 < ringCount; ++ring) {
        Primitive band;
        for (int step = 0; step <= segments; ++step) {
            int k = reverse ? segments - step : step;
            band.corners.push_back(skinCorner(part, ringVertex(ring, k), u(k), v[ring]));
            band.corners.push_back(skinCorner(part, ringVertex(ring + 1, k), u(k), v[ring + 1]));
        }
        primitives.push_back(band);
    }

    Primitive last;
    last.fan = true;
    last.corners.push_back(skinCorner(part, lastPoint, 0.5, 1.0));
    for (int step = 0; step <= segments; ++step) {
        int k = reverse ? step : segments - step;
        last.corners.push_back(skinCorner(part, ringVertex(ringCount - 2, k), u(k), v[ringCount - 2]));
    }
    primitives.push_back(last);
    return primitives;
}

}  // namespace

double outwardVolume(const std::vector<Primitive>& primitives, const std::vector<Vec3>& positions) {
    double volume = 0.0;
    for (const Primitive& primitive : primitives) {
        for (const std::array<Corner, 3>& t : primitiveTriangles(primitive)) {
            const Vec3& p0 = positions[t[0].vertex];
            const Vec3& p1 = positions[t[1].vertex];
            const Vec3& p2 = positions[t[2].vertex];
            // The program lights a triangle with -(p0 - p1) x (p1 - p2).
            Vec3 drawnNormal = -cross(p0 - p1, p1 - p2);
            volume += dot((p0 + p1 + p2) * (1.0 / 3.0), drawnNormal);
        }
    }
    return volume;
}

int CharacterMesh::addPart(const BodyPart& part) {
    int base = static_cast<int>(vertices.size());
    std::vector<double> v = part.ringParameters();
    int ringCount = static_cast<int>(part.rings.size());
    auto addVertex = [&](double u, int ring) {
        MeshVertex vertex;
        vertex.rest = part.surfacePoint(u, v[ring]);
        part.weightsAt(part.rings[ring].along, vertex.joints, vertex.weights);
        vertices.push_back(vertex);
    };
    addVertex(0.5, 0);
    for (int ring = 1; ring + 1 < ringCount; ++ring) {
        for (int k = 0; k < part.segments; ++k) {
            addVertex(static_cast<double>(k) / part.segments, ring);
        }
    }
    addVertex(0.5, ringCount - 1);

    std::vector<Vec3> rest;
    for (const MeshVertex& vertex : vertices) {
        rest.push_back(vertex.rest);
    }
    std::vector<Primitive> own = partPrimitives(part, base, Winding::AlongRings);
    if (outwardVolume(own, rest) < 0.0) {
        own = partPrimitives(part, base, Winding::Reversed);
    }
    primitives.insert(primitives.end(), own.begin(), own.end());
    parts.push_back(part);
    return static_cast<int>(parts.size()) - 1;
}

int CharacterMesh::triangleCount() const {
    int count = 0;
    for (const Primitive& primitive : primitives) {
        count += static_cast<int>(primitive.corners.size()) - 2;
    }
    return count;
}

std::vector<Vec3> CharacterMesh::pose(const Skeleton& skeleton, const PosedJoints& posed) const {
    std::vector<Vec3> positions;
    positions.reserve(vertices.size());
    for (const MeshVertex& vertex : vertices) {
        Vec3 p = posed.carry(skeleton, vertex.joints[0], vertex.rest) * vertex.weights[0];
        if (vertex.weights[1] > 0.0) {
            p += posed.carry(skeleton, vertex.joints[1], vertex.rest) * vertex.weights[1];
        }
        positions.push_back(p);
    }
    return positions;
}

}  // namespace characters
