// Bunny: a plump rabbit with very long, swinging ears, pink inside, a white
// muzzle with a pink nose and two buck teeth, big dark eyes, a blue vest
// with gold buttons over a white belly, long feet and a cotton tail.

#include "ShowFacts.h"
#include "characters/Figure.h"
#include "characters/FigureBuilder.h"

namespace characters {

namespace {

Proportions bunnyProportions() {
    Proportions p;
    p.ankleHeight = 2.0;
    p.shinLength = 8.0;
    p.thighLength = 8.0;
    p.hipHalfWidth = 2.8;
    p.pelvisRise = 2.0;
    p.spineLength = 3.0;
    p.chestLength = 4.0;
    p.neckBase = 5.4;
    p.neckLength = 1.4;
    p.shoulderHalfWidth = 5.4;
    p.shoulderDrop = 1.6;
    p.upperArmLength = 6.2;
    p.forearmLength = 5.8;
    p.armSpread = 14.0;
    p.earHalfWidth = 2.4;
    p.earRise = 10.6;
    return p;
}

const Colour FUR = hexColour(0xE9E6EE);
const Colour FUR_SHADE = hexColour(0xB9B3C7);
const Colour WHITE = hexColour(0xFCFCFA);
const Colour PINK = hexColour(0xF4A0B5);
const Colour NOSE = hexColour(0xE0607E);
const Colour VEST = hexColour(0x2F6FD0);
const Colour GOLD = hexColour(0xFFCC33);
const Colour EYE = hexColour(0x2A1A14);

struct BunnyParts {
    int head, ear, muzzle, nose, tail, trunk;
    LimbParts limbs;
    Vec3 headCentre;
};

Colour furAt(const Vec3& p, const Vec3& normal) {
    // Soft fur: lighter where it faces up and forwards, with fine noise.
    double tone = 0.9 + 0.12 * fractalNoise(p * 1.4, 51);
    Colour base = mixColour(FUR_SHADE, FUR, 0.65 + 0.35 * std::max(normal.x, normal.z));
    return scaleColour(base, tone);
}

Colour paintHead(const PaintSpot& spot, const Vec3& centre) {
    FaceAngles a = faceAngles(spot.position - centre);
    for (double side : {1.0, -1.0}) {
        double d = ellipseDistance(a.yaw, a.pitch, side * 0.5, 0.22, 0.2, 0.26);
        if (d < 1.0) {
            double glint = ellipseDistance(a.yaw, a.pitch, side * 0.5 - 0.06, 0.32, 0.06, 0.06);
            if (glint < 1.0) {
                return WHITE;
            }
            return d < 0.75 ? EYE : hexColour(0x6B4A3A);
        }
        if (d < 1.2) {
            return WHITE;
        }
    }
    Colour fur = furAt(spot.position, spot.normal);
    // White cheeks round the muzzle.
    double cheek = ellipseDistance(a.yaw, a.pitch, 0.0, -0.35, 0.75, 0.38);
    return mixColour(WHITE, fur, smoothstep(0.7, 1.0, cheek));
}

Colour paintMuzzle(const PaintSpot& spot, const Vec3& centre) {
    Vec3 d = spot.position - centre;
    // Two buck teeth under the split lip.
    if (spot.normal.x > 0.5 && d.z < -0.5 && d.z > -1.9 && std::fabs(d.y) < 0.9) {
        return std::fabs(d.y) < 0.07 ? hexColour(0xC8C8C8) : WHITE;
    }
    if (spot.normal.x > 0.4 && std::fabs(d.z + 0.4) < 0.12 && std::fabs(d.y) < 1.3) {
        return hexColour(0x8A5A6A);
    }
    // Whisker dots.
    for (double side : {1.0, -1.0}) {
        for (int row = 0; row < 3; ++row) {
            if (ellipseDistance(d.y, d.z, side * (1.1 + 0.35 * row), 0.2 - 0.35 * row, 0.13, 0.13) < 1.0) {
                return FUR_SHADE;
            }
        }
    }
    return WHITE;
}

Colour paintEar(const PaintSpot& spot) {
    // Pink inside facing forwards, fur round the rim and behind.
    double inner = spot.u > 0.28 && spot.u < 0.72 && spot.v > 0.12 && spot.v < 0.9 ? 1.0 : 0.0;
    if (inner > 0.0) {
        double edge = std::min({spot.u - 0.28, 0.72 - spot.u, (spot.v - 0.12) * 0.4, (0.9 - spot.v) * 0.4});
        return mixColour(FUR, PINK, smoothstep(0.0, 0.06, edge));
    }
    return furAt(spot.position, spot.normal);
}

Colour paintTrunk(const PaintSpot& spot, const Skeleton& s) {
    Vec3 p = spot.position;
    double neckZ = s.restPosition[NECK].z;
    double hemZ = s.restPosition[SPINE].z - 0.5;
    double front = spot.normal.x;
    if (p.z > neckZ - 0.8 || p.z < hemZ) {
        // White belly at the front, fur elsewhere.
        return front > 0.55 - 0.1 * std::sin(p.y) ? WHITE : furAt(p, spot.normal);
    }
    // The vest is open at the front over the white belly.
    if (front > 0.82 && std::fabs(p.y) < 1.6) {
        return WHITE;
    }
    if (front > 0.6 && std::fabs(std::fabs(p.y) - 2.1) < 0.45 && std::fmod(p.z + 40.0, 2.0) < 0.9) {
        return GOLD;
    }
    if (std::fabs(p.z - hemZ) < 0.35 || std::fabs(p.z - (neckZ - 0.8)) < 0.35) {
        return scaleColour(VEST, 0.7);
    }
    return VEST;
}

}  // namespace

Figure makeBunny() {
    Figure figure(CAST_NAMES[4], bunnyProportions());
    const Skeleton& s = figure.skeleton;
    FigureBuilder builder(s);
    BunnyParts parts;
    double neckZ = s.restPosition[NECK].z;
    double hipZ = s.restPosition[HIP_LEFT].z;
    double chestZ = s.restPosition[CHEST].z;
    double pelvisZ = s.restPosition[PELVIS].z;

    parts.headCentre = s.restPosition[HEAD] + Vec3(0.4, 0.0, 6.2);
    BlobShape headShape;
    headShape.centre = parts.headCentre;
    headShape.radii = {6.2, 6.0, 6.4};
    headShape.segments = 12;
    headShape.rings = 9;
    headShape.atlas = {96, 64};
    parts.head = builder.addBlob(HEAD, headShape);
    Vec3 muzzleCentre = parts.headCentre + Vec3(4.8, 0.0, -2.0);
    BlobShape muzzleShape;
    muzzleShape.centre = muzzleCentre;
    muzzleShape.radii = {2.0, 2.7, 1.9};
    muzzleShape.segments = 8;
    muzzleShape.rings = 6;
    muzzleShape.atlas = {40, 20};
    parts.muzzle = builder.addBlob(HEAD, muzzleShape);
    BlobShape noseShape;
    noseShape.centre = muzzleCentre + Vec3(1.8, 0.0, 0.9);
    noseShape.radii = {0.7, 0.9, 0.6};
    noseShape.segments = 6;
    noseShape.rings = 4;
    noseShape.atlas = {12, 8};
    parts.nose = builder.addBlob(HEAD, noseShape);

    BodyPart ear;
    ear.origin = s.restPosition[EAR_LEFT] + Vec3(-0.6, 0.0, 0.0);
    ear.axis = normalize(Vec3(-0.22, 0.2, 1.0));
    ear.front = {1.0, 0.0, 0.0};
    ear.rings = {{0.0, 0.0, 0.0},  {0.3, 0.6, 1.1},  {2.0, 0.8, 1.8},  {5.0, 0.85, 2.2},
                 {8.0, 0.75, 2.1}, {10.5, 0.6, 1.5}, {12.0, 0.4, 0.8}, {12.6, 0.0, 0.0}};
    ear.segments = 8;
    ear.spans = {{-1e9, EAR_LEFT}};
    ear.atlas = builder.allocate(32, 64);
    parts.ear = builder.addPart(ear);
    builder.addMirroredTwin(parts.ear);

    BlobShape tailShape;
    tailShape.centre = {-4.6, 0.0, pelvisZ - 1.6};
    tailShape.radii = {1.9, 1.9, 1.9};
    tailShape.segments = 6;
    tailShape.rings = 5;
    tailShape.atlas = {24, 16};
    parts.tail = builder.addBlob(PELVIS, tailShape);

    std::vector<Ring> trunk = {
        {hipZ - 3.6, 0.0, 0.0},        {hipZ - 3.0, 3.2, 4.0},        {hipZ - 1.4, 4.6, 5.2, 0.3},
        {hipZ + 1.2, 5.0, 5.6, 0.8},   {hipZ + 3.6, 4.8, 5.4, 0.9},   {chestZ - 0.6, 4.5, 5.2, 0.7},
        {chestZ + 2.0, 4.2, 5.2, 0.4}, {chestZ + 4.0, 3.6, 5.0, 0.2}, {neckZ - 1.0, 2.8, 3.8},
        {neckZ + 0.2, 2.3, 2.5},       {neckZ + 2.6, 2.2, 2.2},       {neckZ + 3.4, 0.0, 0.0},
    };
    parts.trunk = builder.addTrunk(trunk, 12, 96, 72);

    LimbShapes shapes;
    shapes.arm = {{0.0, 1.6}, {0.4, 1.35}, {0.6, 1.25}, {1.0, 1.15}};
    shapes.leg = {{0.0, 2.8}, {0.3, 2.5}, {0.5, 1.9}, {0.75, 1.6}, {1.0, 1.4}};
    shapes.handRadii = {1.4, 1.0, 1.6};
    shapes.footRadii = {1.4, 1.9, 4.8};
    shapes.footForward = 2.6;
    shapes.footSquareness = 2.2;
    shapes.footRings = 6;
    shapes.armRings = 6;
    parts.limbs = builder.addLimbs(shapes);
    figure.mesh = builder.mesh;

    figure.style.energy = 1.0;
    figure.style.bounce = 1.4;
    figure.style.looseness = 1.1;
    figure.style.earSwing = 9.0;
    figure.landmarks.browRight = parts.headCentre + Vec3(4.8, -4.0, 2.6);
    figure.landmarks.handLength = 1.6 * shapes.handRadii.z;

    figure.skinBackground = FUR;
    figure.skinOptions.storage = TgaStorage::RunLength;
    Skeleton skeleton = figure.skeleton;
    figure.paint = [parts, skeleton, muzzleCentre](const PaintSpot& spot) -> Colour {
        int owner = spot.partIndex;
        if (owner == parts.head) return paintHead(spot, parts.headCentre);
        if (owner == parts.muzzle) return paintMuzzle(spot, muzzleCentre);
        if (owner == parts.nose) return NOSE;
        if (owner == parts.ear) return paintEar(spot);
        if (owner == parts.tail) return scaleColour(WHITE, 0.92 + 0.08 * valueNoise(spot.position * 3.0, 52));
        if (owner == parts.trunk) return paintTrunk(spot, skeleton);
        if (owner == parts.limbs.arm) return furAt(spot.position, spot.normal);
        if (owner == parts.limbs.hand) return WHITE;
        if (owner == parts.limbs.leg) return furAt(spot.position, spot.normal);
        if (owner == parts.limbs.foot) {
            return spot.position.z < GROUND_HEIGHT + 0.6 ? PINK : mixColour(WHITE, FUR, 0.4);
        }
        return FUR;
    };
    return figure;
}

}  // namespace characters
