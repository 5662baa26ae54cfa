#include "characters/FigureBuilder.h"

#include <cstdio>
#include <cstdlib>

namespace characters {

namespace {

constexpr int ATLAS_GAP = 4;  // room for the bleed painted round each picture

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

Joint mirrorJoint(Joint joint) {
    switch (joint) {
        case SHOULDER_LEFT:
            return SHOULDER_RIGHT;
        case ELBOW_LEFT:
            return ELBOW_RIGHT;
        case HAND_LEFT:
            return HAND_RIGHT;
        case HIP_LEFT:
            return HIP_RIGHT;
        case KNEE_LEFT:
            return KNEE_RIGHT;
        case FOOT_LEFT:
            return FOOT_RIGHT;
        case EAR_LEFT:
            return EAR_RIGHT;
        case SHOULDER_RIGHT:
            return SHOULDER_LEFT;
        case ELBOW_RIGHT:
            return ELBOW_LEFT;
        case HAND_RIGHT:
            return HAND_LEFT;
        case HIP_RIGHT:
            return HIP_LEFT;
        case KNEE_RIGHT:
            return KNEE_LEFT;
        case FOOT_RIGHT:
            return FOOT_LEFT;
        case EAR_RIGHT:
            return EAR_LEFT;
        default:
            return joint;
    }
}

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

int FigureBuilder::addPart(BodyPart part) {
    part.axis = normalize(part.axis);
    part.front = normalize(part.front - part.axis * dot(part.front, part.axis));
    return mesh.addPart(part);
}

int FigureBuilder::addBlob(Joint joint, const BlobShape& shape) {
    BodyPart part;
    part.axis = normalize(shape.axis);
    part.front = normalize(shape.front - part.axis * dot(shape.front, part.axis));
    part.origin = shape.centre;
    part.rings = blobRings(shape.radii.z, shape.radii.x, shape.radii.y, shape.rings, shape.squareness);
    part.segments = shape.segments;
    part.squareness = shape.squareness;
    part.spans = {{-1e9, joint}};
    part.atlas = allocate(shape.atlas.width, shape.atlas.height);
    return mesh.addPart(part);
}

int FigureBuilder::addLimb(const LimbShape& shape) {
    const Joint first = shape.first;
    const Joint middle = shape.middle;
    const Vec3& end = shape.end;
    const std::vector<RadiusAt>& radii = shape.radii;
    Vec3 start = skeleton.restPosition[first];
    Vec3 axis = normalize(end - start);
    double limbLength = length(end - start);
    double startRadius = radii.front().radius;
    double endRadius = radii.back().radius;
    BodyPart part;
    part.origin = start;
    part.axis = axis;
    part.front = normalize(shape.front - axis * dot(shape.front, axis));
    part.segments = shape.segments;
    // Rounded ends: the first and last rings are the end points.
    auto ring = [&](double along, double radius) {
        Ring r;
        r.along = along;
        r.radiusFront = radius * shape.flatten;
        r.radiusSide = radius;
        return r;
    };
    part.rings.push_back(ring(-0.95 * startRadius, 0.0));
    part.rings.push_back(ring(-0.6 * startRadius, 0.8 * startRadius));
    for (int k = 0; k < shape.bodyRings; ++k) {
        double fraction = static_cast<double>(k) / (shape.bodyRings - 1);
        part.rings.push_back(ring(fraction * limbLength, radiusAlong(radii, fraction)));
    }
    part.rings.push_back(ring(limbLength + 0.6 * endRadius, 0.8 * endRadius));
    part.rings.push_back(ring(limbLength + 0.95 * endRadius, 0.0));
    double middleAlong = dot(skeleton.restPosition[middle] - start, axis);
    part.spans = {{-1e9, first}, {middleAlong, middle}};
    part.blendWidth = 0.35 * (radiusAlong(radii, middleAlong / limbLength) * 2.0 + 1.0);
    part.atlas = allocate(shape.atlas.width, shape.atlas.height);
    return mesh.addPart(part);
}

int FigureBuilder::addTube(const TubeShape& shape) {
    BodyPart part;
    part.blendWidth = shape.blendWidth;
    part.origin = shape.origin;
    part.axis = normalize(shape.axis);
    part.front = normalize(shape.front - part.axis * dot(shape.front, part.axis));
    part.rings = shape.rings;
    part.spans = shape.spans;
    part.segments = shape.segments;
    part.squareness = shape.squareness;
    part.atlas = allocate(shape.atlas.width, shape.atlas.height);
    return mesh.addPart(part);
}

int FigureBuilder::addTrunk(const std::vector<Ring>& rings, int segments, int atlasWidth, int atlasHeight,
                            double squareness) {
    const Skeleton& s = skeleton;
    TubeShape trunk;
    trunk.rings = rings;
    trunk.spans = {{-1e9, PELVIS},
                   {s.restPosition[SPINE].z, SPINE},
                   {s.restPosition[CHEST].z, CHEST},
                   {s.restPosition[NECK].z, NECK}};
    trunk.segments = segments;
    trunk.atlas = {atlasWidth, atlasHeight};
    trunk.squareness = squareness;
    trunk.blendWidth = 3.0;
    return addTube(trunk);
}

LimbParts FigureBuilder::addLimbs(const LimbShapes& shapes) {
    LimbParts parts;
    const Skeleton& s = skeleton;
    Vec3 forward(1.0, 0.0, 0.0);
    Vec3 armDirection = normalize(s.restPosition[HAND_LEFT] - s.restPosition[ELBOW_LEFT]);
    LimbShape arm;
    arm.first = SHOULDER_LEFT;
    arm.middle = ELBOW_LEFT;
    arm.end = s.restPosition[HAND_LEFT];
    arm.radii = shapes.arm;
    arm.flatten = shapes.armFlatten;
    arm.front = forward;
    arm.segments = shapes.armSegments;
    arm.bodyRings = shapes.armRings;
    arm.atlas = {shapes.armAtlas[0], shapes.armAtlas[1]};
    parts.arm = addLimb(arm);
    addMirroredTwin(parts.arm);
    Vec3 handCentre = s.restPosition[HAND_LEFT] + armDirection * (0.8 * shapes.handRadii.z);
    BlobShape hand;
    hand.centre = handCentre;
    hand.radii = shapes.handRadii;
    hand.axis = armDirection;
    hand.front = forward;
    hand.segments = shapes.handSegments;
    hand.rings = shapes.handRings;
    hand.atlas = {shapes.handAtlas[0], shapes.handAtlas[1]};
    hand.squareness = shapes.handSquareness;
    parts.hand = addBlob(HAND_LEFT, hand);
    addMirroredTwin(parts.hand);
    LimbShape leg;
    leg.first = HIP_LEFT;
    leg.middle = KNEE_LEFT;
    leg.end = s.restPosition[FOOT_LEFT];
    leg.radii = shapes.leg;
    leg.flatten = shapes.legFlatten;
    leg.front = forward;
    leg.segments = shapes.legSegments;
    leg.bodyRings = shapes.legRings;
    leg.atlas = {shapes.legAtlas[0], shapes.legAtlas[1]};
    parts.leg = addLimb(leg);
    addMirroredTwin(parts.leg);
    Vec3 ankle = s.restPosition[FOOT_LEFT];
    Vec3 footCentre(ankle.x + shapes.footForward, ankle.y, GROUND_HEIGHT + 0.92 * shapes.footRadii.x);
    Vec3 footRadii(shapes.footRadii.x, shapes.footRadii.y, shapes.footRadii.z);
    // The foot's axis runs heel to toe, and its picture faces up.
    BlobShape foot;
    foot.centre = footCentre;
    foot.radii = footRadii;
    foot.axis = forward;
    foot.front = {0.0, 0.0, 1.0};
    foot.segments = shapes.footSegments;
    foot.rings = shapes.footRings;
    foot.atlas = {shapes.footAtlas[0], shapes.footAtlas[1]};
    foot.squareness = shapes.footSquareness;
    parts.foot = addBlob(FOOT_LEFT, foot);
    addMirroredTwin(parts.foot);
    return parts;
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
    return mesh.addPart(twin);
}

}  // namespace characters
