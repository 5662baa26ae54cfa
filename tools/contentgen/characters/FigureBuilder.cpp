#include "characters/FigureBuilder.h"

#include <cstdio>
#include <cstdlib>
#include <utility>

namespace characters {

namespace {

constexpr int ATLAS_GAP = 4;        // room for the bleed painted round each picture
constexpr int TRUNK_SEGMENTS = 12;  // round every figure's trunk

double radiusAlong(const std::vector<RadiusAt>& radii, double fraction) {
    if (fraction <= radii.front().fraction) {
        return radii.front().radius;
    }
    for (size_t i = 1; i < radii.size(); ++i) {
        if (fraction <= radii[i].fraction) {
            double t = (fraction - radii[i - 1].fraction) / (radii[i].fraction - radii[i - 1].fraction);
            return lerp(radii[i - 1].radius, radii[i].radius, smoothstep(0.0, 1.0, t));
        }
    }
    return radii.back().radius;
}

// Signed power that keeps the sign: the superellipse's rounding.
double signedPower(double value, double exponent) {
    return (value < 0.0 ? -1.0 : 1.0) * std::pow(std::fabs(value), exponent);
}

}  // namespace

std::vector<Ring> blobRings(double halfLength, double radiusFront, double radiusSide, int rings, double squareness) {
    std::vector<Ring> result;
    double exponent = 2.0 / squareness;
    for (int k = 0; k < rings; ++k) {
        double angle = PI * k / (rings - 1);
        Ring ring;
        ring.along = -halfLength * signedPower(std::cos(angle), exponent);
        double around = std::pow(std::fabs(std::sin(angle)), exponent);
        ring.radiusFront = radiusFront * around;
        ring.radiusSide = radiusSide * around;
        result.push_back(ring);
    }
    return result;
}

AtlasRect FigureBuilder::allocate(int width, int height) {
    if (shelfX + width + 2 > SKIN_SIZE) {
        shelfX = 2;
        shelfY += shelfHeight + ATLAS_GAP;
        shelfHeight = 0;
    }
    if (shelfY + height + 2 > SKIN_SIZE) {
        std::fprintf(stderr, "contentgen: the skin has no room left for a %d x %d picture\n", width, height);
        std::exit(1);
    }
    AtlasRect rect{shelfX, shelfY, width, height};
    shelfX += width + ATLAS_GAP;
    shelfHeight = std::max(shelfHeight, height);
    return rect;
}

TrunkHeights::TrunkHeights(const Skeleton& skeleton)
    : hip(skeleton.restPosition[HIP_LEFT].z),
      pelvis(skeleton.restPosition[PELVIS].z),
      spine(skeleton.restPosition[SPINE].z),
      chest(skeleton.restPosition[CHEST].z),
      neck(skeleton.restPosition[NECK].z) {}

PaintFunction plainColour(const Colour& colour) {
    return [colour](const PaintSpot&) { return colour; };
}

int FigureBuilder::addPart(const BodyPart& part, PaintFunction paint) {
    painters.push_back(std::move(paint));
    return mesh.addPart(part);
}

void FigureBuilder::finish(Figure& figure) const {
    figure.mesh = mesh;
    std::vector<PaintFunction> byPart = painters;
    figure.paint = [byPart](const PaintSpot& spot) { return byPart[static_cast<size_t>(spot.partIndex)](spot); };
}

int FigureBuilder::addBlob(Joint joint, const BlobShape& shape, PaintFunction paint) {
    BodyPart part;
    part.axis = normalize(shape.axis);
    part.front = normalize(shape.front - part.axis * dot(shape.front, part.axis));
    part.origin = shape.centre;
    part.rings = blobRings(shape.radii.z, shape.radii.x, shape.radii.y, shape.rings, shape.squareness);
    part.segments = shape.segments;
    part.squareness = shape.squareness;
    part.spans = {{-1e9, joint}};
    part.atlas = allocate(shape.atlas.width, shape.atlas.height);
    return addPart(part, std::move(paint));
}

int FigureBuilder::addLimb(Joint first, Joint middle, const Vec3& end, const LimbProfile& profile,
                           PaintFunction paint) {
    const std::vector<RadiusAt>& radii = profile.radii;
    const Vec3 front(1.0, 0.0, 0.0);
    Vec3 start = skeleton.restPosition[first];
    Vec3 axis = normalize(end - start);
    double limbLength = length(end - start);
    double startRadius = radii.front().radius;
    double endRadius = radii.back().radius;
    BodyPart part;
    part.origin = start;
    part.axis = axis;
    part.front = normalize(front - axis * dot(front, axis));
    part.segments = profile.segments;
    // Rounded ends: the first and last rings are the end points.
    auto ring = [&](double along, double radius) {
        Ring r;
        r.along = along;
        r.radiusFront = radius * profile.flatten;
        r.radiusSide = radius;
        return r;
    };
    part.rings.push_back(ring(-0.95 * startRadius, 0.0));
    part.rings.push_back(ring(-0.6 * startRadius, 0.8 * startRadius));
    for (int k = 0; k < profile.rings; ++k) {
        double fraction = static_cast<double>(k) / (profile.rings - 1);
        part.rings.push_back(ring(fraction * limbLength, radiusAlong(radii, fraction)));
    }
    part.rings.push_back(ring(limbLength + 0.6 * endRadius, 0.8 * endRadius));
    part.rings.push_back(ring(limbLength + 0.95 * endRadius, 0.0));
    double middleAlong = dot(skeleton.restPosition[middle] - start, axis);
    part.spans = {{-1e9, first}, {middleAlong, middle}};
    part.blendWidth = 0.35 * (radiusAlong(radii, middleAlong / limbLength) * 2.0 + 1.0);
    part.atlas = allocate(profile.atlas.width, profile.atlas.height);
    return addPart(part, std::move(paint));
}

int FigureBuilder::addEnd(Joint joint, const EndShape& shape, const Vec3& centre, const Vec3& axis, const Vec3& front,
                          PaintFunction paint) {
    BlobShape blob{centre, shape.radii, shape.segments, shape.rings, shape.atlas, shape.squareness, axis, front};
    return addBlob(joint, blob, std::move(paint));
}

int FigureBuilder::addTube(const TubeShape& shape, PaintFunction paint) {
    BodyPart part;
    part.blendWidth = shape.blendWidth;
    part.origin = shape.origin;
    part.axis = normalize(shape.axis);
    part.front = normalize(shape.front - part.axis * dot(shape.front, part.axis));
    part.rings = shape.rings;
    part.spans = shape.spans;
    part.segments = shape.segments;
    part.squareness = shape.squareness;
    part.sectionScale = shape.sectionScale;
    part.atlas = allocate(shape.atlas.width, shape.atlas.height);
    return addPart(part, std::move(paint));
}

int FigureBuilder::addTube(Joint joint, TubeShape shape, PaintFunction paint) {
    shape.spans = {{-1e9, joint}};
    return addTube(shape, std::move(paint));
}

int FigureBuilder::addTrunk(const std::vector<Ring>& rings, AtlasSize atlas, PaintFunction paint, double squareness) {
    const Skeleton& s = skeleton;
    TubeShape trunk;
    trunk.rings = rings;
    trunk.spans = {{-1e9, PELVIS},
                   {s.restPosition[SPINE].z, SPINE},
                   {s.restPosition[CHEST].z, CHEST},
                   {s.restPosition[NECK].z, NECK}};
    trunk.segments = TRUNK_SEGMENTS;
    trunk.atlas = atlas;
    trunk.squareness = squareness;
    trunk.blendWidth = 3.0;
    return addTube(trunk, std::move(paint));
}

void FigureBuilder::addLimbs(const LimbShapes& shapes, const LimbPainters& paint) {
    const Skeleton& s = skeleton;
    const Vec3 forward(1.0, 0.0, 0.0);
    const Vec3 wrist = s.restPosition[HAND_LEFT];
    const Vec3 armDirection = normalize(wrist - s.restPosition[ELBOW_LEFT]);
    const Vec3 ankle = s.restPosition[FOOT_LEFT];
    addMirroredTwin(addLimb(SHOULDER_LEFT, ELBOW_LEFT, wrist, shapes.arm, paint.arm));
    const Vec3 handCentre = wrist + armDirection * (0.8 * shapes.hand.radii.z);
    addMirroredTwin(addEnd(HAND_LEFT, shapes.hand, handCentre, armDirection, forward, paint.hand));
    addMirroredTwin(addLimb(HIP_LEFT, KNEE_LEFT, ankle, shapes.leg, paint.leg));
    // The foot's axis runs heel to toe, and its picture faces up.
    const Vec3 footCentre(ankle.x + shapes.footForward, ankle.y, GROUND_HEIGHT + 0.92 * shapes.foot.radii.x);
    addMirroredTwin(addEnd(FOOT_LEFT, shapes.foot, footCentre, forward, {0.0, 0.0, 1.0}, paint.foot));
}

int FigureBuilder::addMirroredTwin(int leftPart) {
    BodyPart twin = mesh.parts[leftPart];
    auto reflect = [](const Vec3& v) { return Vec3(v.x, -v.y, v.z); };
    twin.origin = reflect(twin.origin);
    twin.axis = reflect(twin.axis);
    twin.front = reflect(twin.front);
    twin.mirrored = !twin.mirrored;
    for (JointSpan& span : twin.spans) {
        span.joint = mirrorJoint(span.joint);
    }
    twin.atlasOwner = leftPart;
    return addPart(twin, painters[static_cast<size_t>(leftPart)]);
}

}  // namespace characters
