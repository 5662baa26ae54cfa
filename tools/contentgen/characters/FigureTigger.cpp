// Tigger: a bouncy tiger, bright orange with black stripes everywhere, a
// cream muzzle, chest and belly, round ears, green eyes and a long striped
// tail that curls up and swings.

#include "ShowFacts.h"
#include "characters/Figure.h"
#include "characters/FigureBuilder.h"

namespace characters {

namespace {

Proportions tiggerProportions() {
    Proportions p;
    p.ankleHeight = 2.4;
    p.shinLength = 8.6;
    p.thighLength = 8.4;
    p.hipHalfWidth = 2.7;
    p.pelvisRise = 2.0;
    p.spineLength = 3.6;
    p.chestLength = 4.4;
    p.neckBase = 5.8;
    p.neckLength = 1.4;
    p.shoulderHalfWidth = 5.6;
    p.shoulderDrop = 1.5;
    p.upperArmLength = 6.8;
    p.forearmLength = 6.4;
    p.armSpread = 11.0;
    p.tailLength = 15.0;
    return p;
}

const Colour ORANGE = hexColour(0xF28A1E);
const Colour ORANGE_DEEP = hexColour(0xD8641A);
const Colour STRIPE = hexColour(0x231510);
const Colour CREAM = hexColour(0xFBE8C8);
const Colour EYE_GREEN = hexColour(0x7BCB3A);
const Colour NOSE = hexColour(0xC8506A);

struct TiggerParts {
    int head, muzzle, ear, tail, trunk;
    LimbParts limbs;
    Vec3 headCentre;
};

// Wavy stripes across `coordinate`: true on a stripe.
bool onStripe(double coordinate, double wobble, double width) {
    double phase = coordinate + wobble;
    double f = phase - std::floor(phase);
    return std::fabs(f - 0.5) < width;
}

Colour fur(const Vec3& p, const Vec3& normal) {
    double tone = 0.92 + 0.1 * fractalNoise(p * 1.2, 61);
    return scaleColour(mixColour(ORANGE_DEEP, ORANGE, 0.6 + 0.4 * normal.z * 0.5 + 0.2), tone);
}

Colour paintHead(const PaintSpot& spot, const Vec3& centre) {
    FaceAngles a = faceAngles(spot.position - centre);
    for (double side : {1.0, -1.0}) {
        double d = ellipseDistance(a.yaw, a.pitch, side * 0.42, 0.2, 0.17, 0.13);
        if (d < 1.0) {
            // A green eye with a slit pupil.
            bool pupil = std::fabs(a.yaw - side * 0.42) < 0.035;
            bool glint = ellipseDistance(a.yaw, a.pitch, side * 0.42 - 0.06, 0.26, 0.04, 0.04) < 1.0;
            if (glint) return hexColour(0xFFFFFF);
            return pupil ? STRIPE : mixColour(scaleColour(EYE_GREEN, 0.6), EYE_GREEN, 1.0 - d);
        }
        if (d < 1.25) {
            return STRIPE;
        }
    }
    // Cream cheeks and chin, stripes over the brow and down the sides.
    double cheek = ellipseDistance(a.yaw, a.pitch, 0.0, -0.45, 0.95, 0.42);
    if (cheek < 1.0) {
        return CREAM;
    }
    double wobble = 0.25 * valueNoise(spot.position * 0.6, 62);
    if (std::cos(a.yaw) > 0.5 && a.pitch > 0.45 && onStripe(a.yaw * 3.5, wobble, 0.12)) {
        return STRIPE;
    }
    if (std::fabs(std::sin(a.yaw)) > 0.6 && onStripe(a.pitch * 3.0, wobble, 0.13)) {
        return STRIPE;
    }
    return fur(spot.position, spot.normal);
}

Colour paintMuzzle(const PaintSpot& spot, const Vec3& centre) {
    Vec3 d = spot.position - centre;
    // A pink nose on top of the muzzle's front, a mouth line under it.
    if (d.z > 0.6 && spot.normal.x > 0.3 && std::fabs(d.y) < 1.2 - 0.6 * (d.z - 0.6)) {
        return NOSE;
    }
    if (spot.normal.x > 0.5 && std::fabs(d.y) < 0.06 && d.z > -0.6) {
        return STRIPE;
    }
    if (spot.normal.x > 0.3 && std::fabs(d.z + 0.6 + 0.3 * d.y * d.y) < 0.08 && std::fabs(d.y) < 1.7) {
        return STRIPE;
    }
    for (double side : {1.0, -1.0}) {
        for (int row = 0; row < 3; ++row) {
            if (ellipseDistance(d.y, d.z, side * (1.5 + 0.4 * row), 0.3 - 0.4 * row, 0.12, 0.12) < 1.0) {
                return ORANGE_DEEP;
            }
        }
    }
    return CREAM;
}

Colour paintTrunk(const PaintSpot& spot, const Skeleton& s) {
    Vec3 p = spot.position;
    // Cream chest and belly at the front.
    double bellyEdge = 0.55 + 0.1 * std::sin(p.z * 0.8);
    if (spot.normal.x > bellyEdge && p.z < s.restPosition[NECK].z + 0.5) {
        return CREAM;
    }
    double wobble = 0.35 * valueNoise(p * 0.4, 63) + 0.15 * std::sin(p.y * 0.8);
    double taper = 0.13 + 0.07 * std::max(0.0, -spot.normal.x);
    if (onStripe(p.z / 2.6, wobble, taper)) {
        return STRIPE;
    }
    return fur(p, spot.normal);
}

Colour paintLimb(const PaintSpot& spot, double stripes) {
    double wobble = 0.2 * std::sin(spot.u * 2.0 * PI) + 0.15 * valueNoise(spot.position * 0.8, 64);
    // Stripes across the outside of the limb, fading out on the inside.
    bool outside = std::fabs(spot.u - 0.5) > 0.05;
    if (outside && onStripe(spot.v * stripes, wobble, 0.11)) {
        return STRIPE;
    }
    return fur(spot.position, spot.normal);
}

Colour paintTail(const PaintSpot& spot) {
    if (spot.v > 0.86) {
        return STRIPE;
    }
    if (onStripe(spot.v * 7.0, 0.1 * std::sin(spot.u * 2.0 * PI), 0.14)) {
        return STRIPE;
    }
    return fur(spot.position, spot.normal);
}

}  // namespace

Figure makeTigger() {
    Figure figure(CAST_NAMES[5], tiggerProportions());
    const Skeleton& s = figure.skeleton;
    FigureBuilder builder(s);
    TiggerParts parts;
    double neckZ = s.restPosition[NECK].z;
    double hipZ = s.restPosition[HIP_LEFT].z;
    double chestZ = s.restPosition[CHEST].z;

    parts.headCentre = s.restPosition[HEAD] + Vec3(0.4, 0.0, 6.6);
    BlobShape headShape;
    headShape.centre = parts.headCentre;
    headShape.radii = {6.6, 7.4, 6.6};
    headShape.segments = 12;
    headShape.rings = 10;
    headShape.atlas = {104, 64};
    parts.head = builder.addBlob(HEAD, headShape);
    Vec3 muzzleCentre = parts.headCentre + Vec3(5.0, 0.0, -2.2);
    BlobShape muzzleShape;
    muzzleShape.centre = muzzleCentre;
    muzzleShape.radii = {2.4, 3.2, 2.2};
    muzzleShape.segments = 10;
    muzzleShape.rings = 6;
    muzzleShape.atlas = {40, 24};
    parts.muzzle = builder.addBlob(HEAD, muzzleShape);
    BlobShape earShape;
    earShape.centre = parts.headCentre + Vec3(-0.6, 4.6, 5.0);
    earShape.radii = {0.9, 2.0, 2.2};
    earShape.axis = normalize(Vec3(-0.1, 0.5, 1.0));
    earShape.segments = 8;
    earShape.rings = 5;
    earShape.atlas = {24, 16};
    parts.ear = builder.addBlob(HEAD, earShape);
    builder.addMirroredTwin(parts.ear);

    Vec3 tailBase = s.restPosition[TAIL_BASE];
    Vec3 tailAxis = normalize(s.restPosition[TAIL_TIP] - tailBase);
    double step = length(s.restPosition[TAIL_MIDDLE] - tailBase);
    std::vector<Ring> tailRings;
    tailRings.push_back({-0.8, 0.0, 0.0});
    for (int k = 0; k <= 7; ++k) {
        double along = s.proportions.tailLength * k / 7.0;
        double radius = 1.15 - 0.35 * k / 7.0;
        tailRings.push_back({along, radius, radius});
    }
    tailRings.push_back({s.proportions.tailLength + 0.8, 0.0, 0.0});
    TubeShape tail;
    tail.origin = tailBase;
    tail.axis = tailAxis;
    tail.front = {0, 0, 1};
    tail.rings = tailRings;
    tail.spans = {{-1e9, TAIL_BASE}, {step, TAIL_MIDDLE}, {2.0 * step, TAIL_TIP}};
    tail.segments = 6;
    tail.atlas = {24, 64};
    tail.blendWidth = 3.0;
    parts.tail = builder.addTube(tail);

    std::vector<Ring> trunk = {
        {hipZ - 3.8, 0.0, 0.0},        {hipZ - 3.2, 2.9, 3.8},        {hipZ - 1.6, 4.1, 5.0},
        {hipZ + 1.0, 4.3, 5.1, 0.3},   {hipZ + 3.4, 4.0, 4.7, 0.4},   {chestZ - 0.8, 4.2, 5.1, 0.5},
        {chestZ + 2.0, 4.6, 5.8, 0.5}, {chestZ + 4.3, 4.2, 6.0, 0.2}, {neckZ - 1.0, 3.2, 4.4},
        {neckZ + 0.2, 2.6, 2.8},       {neckZ + 2.8, 2.4, 2.4},       {neckZ + 3.6, 0.0, 0.0},
    };
    parts.trunk = builder.addTrunk(trunk, 12, 96, 72);

    LimbShapes shapes;
    shapes.arm = {{0.0, 1.9}, {0.4, 1.6}, {0.6, 1.45}, {1.0, 1.35}};
    shapes.leg = {{0.0, 2.6}, {0.3, 2.3}, {0.5, 1.8}, {0.75, 1.7}, {1.0, 1.5}};
    shapes.handRadii = {1.6, 1.1, 1.7};
    shapes.footRadii = {1.5, 1.9, 3.6};
    shapes.footForward = 1.8;
    shapes.footSquareness = 2.2;
    shapes.footRings = 6;
    parts.limbs = builder.addLimbs(shapes);
    figure.mesh = builder.mesh;

    figure.style.energy = 1.15;
    figure.style.bounce = 1.5;
    figure.style.looseness = 1.3;
    figure.style.tailSway = 18.0;
    figure.style.tailCurl = 22.0;
    figure.landmarks.browRight = parts.headCentre + Vec3(5.2, -4.8, 2.6);
    figure.landmarks.handLength = 1.6 * shapes.handRadii.z;

    figure.skinBackground = ORANGE;
    figure.skinOptions.storage = TgaStorage::Raw;
    figure.skinOptions.channels = TgaChannels::Rgba;
    Skeleton skeleton = figure.skeleton;
    figure.paint = [parts, skeleton, muzzleCentre](const PaintSpot& spot) -> Colour {
        int owner = spot.partIndex;
        if (owner == parts.head) return paintHead(spot, parts.headCentre);
        if (owner == parts.muzzle) return paintMuzzle(spot, muzzleCentre);
        if (owner == parts.ear) return spot.normal.x > 0.3 && spot.v > 0.2 && spot.v < 0.85 ? CREAM : STRIPE;
        if (owner == parts.tail) return paintTail(spot);
        if (owner == parts.trunk) return paintTrunk(spot, skeleton);
        if (owner == parts.limbs.arm) return paintLimb(spot, 5.0);
        if (owner == parts.limbs.hand) return CREAM;
        if (owner == parts.limbs.leg) return paintLimb(spot, 6.0);
        if (owner == parts.limbs.foot) return spot.normal.x > 0.6 ? CREAM : fur(spot.position, spot.normal);
        return ORANGE;
    };
    return figure;
}

}  // namespace characters
