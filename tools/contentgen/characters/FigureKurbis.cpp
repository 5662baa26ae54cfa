// Kurbis: a tall, lanky scarecrow with a ribbed pumpkin for a head, carved
// eyes and a jagged grin glowing from inside, a curly stem, a collar of
// leaves, a purple checked shirt, patched denim and big brown boots.

#include "ShowFacts.h"
#include "characters/Figure.h"
#include "characters/FigureBuilder.h"

namespace characters {

namespace {

Proportions kurbisProportions() {
    Proportions p;
    p.ankleHeight = 2.6;
    p.shinLength = 11.5;
    p.thighLength = 11.0;
    p.hipHalfWidth = 2.3;
    p.pelvisRise = 2.0;
    p.spineLength = 3.8;
    p.chestLength = 4.5;
    p.neckBase = 6.2;
    p.neckLength = 1.6;
    p.shoulderHalfWidth = 5.4;
    p.shoulderDrop = 1.4;
    p.upperArmLength = 8.2;
    p.forearmLength = 7.8;
    p.armSpread = 10.0;
    return p;
}

const Colour PUMPKIN = hexColour(0xF2811D);
const Colour PUMPKIN_DEEP = hexColour(0xB4500E);
const Colour GLOW = hexColour(0xFFE36B);
const Colour CARVED = hexColour(0x3A1404);
const Colour STEM = hexColour(0x5C6B22);
const Colour LEAF = hexColour(0x3F8A2E);
const Colour SHIRT = hexColour(0x6A2C91);
const Colour SHIRT_LINE = hexColour(0xB07AD6);
const Colour DENIM = hexColour(0x3B5E9C);
const Colour PATCH = hexColour(0xD9A441);
const Colour STRAW = hexColour(0xE3C26A);
const Colour BOOT = hexColour(0x6B4226);
const Colour ROPE = hexColour(0xC9A36B);

struct KurbisParts {
    int head, stem, collar, trunk;
    LimbParts limbs;
    Vec3 headCentre;
};

// The carved face: two triangular eyes, a triangular nose and a grin with
// teeth, lit from within: brightest in the middle of each hole.
Colour paintPumpkin(const PaintSpot& spot, const Vec3& centre) {
    FaceAngles a = faceAngles(spot.position - centre);
    double angle = std::atan2(spot.position.y - centre.y, spot.position.x - centre.x);
    double rib = 0.5 + 0.5 * std::cos(8.0 * angle);
    Colour skin = mixColour(PUMPKIN_DEEP, PUMPKIN, 0.35 + 0.65 * std::pow(rib, 0.6));
    skin = scaleColour(skin, 0.92 + 0.12 * fractalNoise(spot.position * 1.3, 21));
    // The crown darkens round the stem.
    skin = mixColour(PUMPKIN_DEEP, skin, smoothstep(1.2, 0.9, a.pitch));
    auto carved = [&](double inside) { return mixColour(CARVED, GLOW, smoothstep(0.0, 0.8, inside)); };
    for (double side : {1.0, -1.0}) {
        // Triangle eyes pointing down towards the middle.
        double x = (a.yaw - side * 0.42) * side;
        double y = a.pitch - 0.22;
        double top = 0.17;
        double bottom = -0.12;
        if (y < top && y > bottom) {
            double halfWidth = 0.2 * (y - bottom) / (top - bottom) + 0.02;
            if (std::fabs(x + 0.06 * (y - bottom) / (top - bottom)) < halfWidth) {
                return carved(1.0 - std::fabs(x) / halfWidth * 0.5 - (top - y) * 2.0);
            }
        }
    }
    if (a.pitch < 0.05 && a.pitch > -0.1 && std::fabs(a.yaw) < 0.1 * (a.pitch + 0.1) / 0.15 + 0.01) {
        return carved(0.5);
    }
    // The grin: a wide crescent with two square teeth left standing.
    double grinCentre = -0.3 + 0.45 * a.yaw * a.yaw;
    double halfHeight = 0.11 * (1.0 - std::pow(std::fabs(a.yaw) / 0.75, 2.0));
    if (std::fabs(a.yaw) < 0.75 && std::fabs(a.pitch - grinCentre) < halfHeight) {
        bool tooth = (std::fabs(a.yaw - 0.18) < 0.07 && a.pitch > grinCentre) ||
                     (std::fabs(a.yaw + 0.22) < 0.07 && a.pitch < grinCentre);
        if (!tooth) {
            return carved(1.0 - std::fabs(a.pitch - grinCentre) / halfHeight);
        }
    }
    return skin;
}

Colour paintShirt(const PaintSpot& spot, const Skeleton& s) {
    Vec3 p = spot.position;
    double beltZ = s.restPosition[HIP_LEFT].z + 2.4;
    if (std::fabs(p.z - beltZ) < 0.6) {
        // A rope for a belt, twisted.
        return scaleColour(ROPE, 0.8 + 0.25 * std::sin((p.z + std::atan2(p.y, p.x) * 2.0) * 9.0));
    }
    if (p.z < beltZ) {
        bool patch = ellipseDistance(p.y, p.z, 2.5, beltZ - 3.0, 1.6, 1.3) < 1.0 && spot.normal.x > 0.3;
        return patch ? PATCH : DENIM;
    }
    // Purple check with light lines, buttons down the front.
    if (spot.normal.x > 0.8 && std::fabs(p.y) < 0.5 && std::fmod(p.z + 40.0, 2.2) < 0.7) {
        return hexColour(0xF0E0C0);
    }
    double checkA = std::fabs(std::fmod(p.z + 40.0, 2.4) - 1.2) < 0.22 ? 1.0 : 0.0;
    double around = std::atan2(p.y, p.x) * 5.0;
    double checkB = std::fabs(std::fmod(around + 40.0, 2.4) - 1.2) < 0.25 ? 1.0 : 0.0;
    Colour shirt = mixColour(SHIRT, SHIRT_LINE, 0.55 * std::max(checkA, checkB));
    // Ragged straw poking out at the neck.
    if (p.z > s.restPosition[NECK].z - 0.3) {
        return mixColour(STRAW, scaleColour(STRAW, 0.7), valueNoise(p * 4.0, 23));
    }
    return shirt;
}

Colour paintArm(const PaintSpot& spot) {
    if (spot.v > 0.88) {
        // Straw sticking out of the cuff.
        return mixColour(STRAW, scaleColour(STRAW, 0.7), valueNoise(spot.position * 5.0, 24));
    }
    double checkA = std::fabs(std::fmod(spot.v * 14.0, 2.0) - 1.0) < 0.2 ? 1.0 : 0.0;
    double checkB = std::fabs(std::fmod(spot.u * 8.0, 2.0) - 1.0) < 0.2 ? 1.0 : 0.0;
    return mixColour(SHIRT, SHIRT_LINE, 0.55 * std::max(checkA, checkB));
}

Colour paintLeg(const PaintSpot& spot) {
    Vec3 p = spot.position;
    double seam = std::fabs(spot.normal.y) > 0.9 ? 0.8 : 1.0;
    // A square patch on the knee, with stitches round it.
    if (std::fabs(spot.v - 0.5) < 0.09 && std::fabs(spot.u - 0.5) < 0.12) {
        bool stitch =
            std::fabs(std::fabs(spot.u - 0.5) - 0.1) < 0.012 || std::fabs(std::fabs(spot.v - 0.5) - 0.075) < 0.01;
        return stitch ? hexColour(0x402010) : PATCH;
    }
    double weave = 0.93 + 0.07 * std::sin((p.z + p.x) * 12.0);
    return scaleColour(DENIM, seam * weave * (spot.v > 0.93 ? 0.8 : 1.0));
}

Colour paintBoot(const PaintSpot& spot) {
    if (spot.position.z < GROUND_HEIGHT + 0.7) {
        return hexColour(0x2A1C12);
    }
    return scaleColour(BOOT, 0.85 + 0.25 * fractalNoise(spot.position * 1.5, 25));
}

Colour paintCollar(const PaintSpot& spot, const Vec3& centre) {
    double angle = std::atan2(spot.position.y - centre.y, spot.position.x - centre.x);
    double leaf = std::fabs(std::sin(angle * 4.5));
    double vein = std::fabs(std::sin(angle * 4.5)) > 0.97 ? 0.7 : 1.0;
    return scaleColour(mixColour(scaleColour(LEAF, 0.7), LEAF, leaf), vein);
}

}  // namespace

Figure makeKurbis() {
    Figure figure(CAST_NAMES[1], kurbisProportions());
    const Skeleton& s = figure.skeleton;
    FigureBuilder builder(s);
    KurbisParts parts;
    double neckZ = s.restPosition[NECK].z;
    double hipZ = s.restPosition[HIP_LEFT].z;
    double chestZ = s.restPosition[CHEST].z;

    parts.headCentre = s.restPosition[HEAD] + Vec3(0.2, 0.0, 6.4);
    BodyPart pumpkin;
    pumpkin.origin = parts.headCentre;
    pumpkin.rings = blobRings(7.0, 8.4, 9.2, 11, 2.0);
    // Flatten the top and bottom into a squat pumpkin with a dimple at each end.
    for (Ring& ring : pumpkin.rings) {
        double t = ring.along / 7.0;
        ring.along *= 1.0 - 0.12 * (1.0 - t * t);
    }
    pumpkin.segments = 16;
    pumpkin.sectionScale = [](double angle, double v) { return 1.0 + 0.06 * std::cos(8.0 * angle) * std::sin(PI * v); };
    pumpkin.spans = {{-1e9, HEAD}};
    pumpkin.atlas = builder.allocate(128, 64);
    parts.head = builder.addPart(pumpkin);
    BlobShape stemShape;
    stemShape.centre = parts.headCentre + Vec3(-0.6, 0.4, 7.3);
    stemShape.radii = {0.9, 0.9, 2.2};
    stemShape.axis = normalize(Vec3(-0.35, 0.2, 1.0));
    stemShape.segments = 6;
    stemShape.rings = 5;
    stemShape.atlas = {16, 16};
    parts.stem = builder.addBlob(HEAD, stemShape);
    BlobShape collarShape;
    collarShape.centre = {0.3, 0.0, neckZ + 0.2};
    collarShape.radii = {6.0, 6.4, 1.2};
    collarShape.segments = 14;
    collarShape.rings = 5;
    collarShape.atlas = {64, 16};
    parts.collar = builder.addBlob(NECK, collarShape);

    std::vector<Ring> trunk = {
        {hipZ - 3.6, 0.0, 0.0},  {hipZ - 3.0, 2.4, 3.4},        {hipZ - 1.6, 3.4, 4.4},        {hipZ + 0.8, 3.5, 4.4},
        {hipZ + 3.5, 3.0, 3.9},  {chestZ - 1.0, 3.3, 4.4, 0.2}, {chestZ + 2.0, 3.7, 5.1, 0.3}, {chestZ + 4.3, 3.4, 5.6},
        {neckZ - 1.0, 2.4, 3.6}, {neckZ + 0.2, 1.6, 1.8},       {neckZ + 2.2, 1.5, 1.5},       {neckZ + 3.0, 0.0, 0.0},
    };
    parts.trunk = builder.addTrunk(trunk, 12, 96, 72);

    LimbShapes shapes;
    shapes.arm = {{0.0, 1.5}, {0.4, 1.25}, {0.6, 1.15}, {1.0, 1.0}};
    shapes.leg = {{0.0, 2.0}, {0.3, 1.75}, {0.5, 1.5}, {0.75, 1.45}, {1.0, 1.3}};
    shapes.handRadii = {1.5, 0.9, 1.9};
    shapes.footRadii = {1.9, 2.1, 4.4};
    shapes.footForward = 2.0;
    shapes.footSquareness = 2.4;
    parts.limbs = builder.addLimbs(shapes);
    figure.mesh = builder.mesh;

    figure.style.energy = 1.1;
    figure.style.looseness = 1.4;
    figure.landmarks.browRight = parts.headCentre + Vec3(6.4, -5.4, 2.8);
    figure.landmarks.handLength = 1.6 * shapes.handRadii.z;

    figure.skinBackground = SHIRT;
    figure.skinOptions.storage = TgaStorage::Raw;
    figure.skinOptions.rowOrder = TgaRowOrder::TopDown;
    Skeleton skeleton = figure.skeleton;
    Vec3 collarCentre(0.3, 0.0, neckZ + 0.2);
    figure.paint = [parts, skeleton, collarCentre](const PaintSpot& spot) -> Colour {
        int owner = spot.partIndex;
        if (owner == parts.head) return paintPumpkin(spot, parts.headCentre);
        if (owner == parts.stem) return scaleColour(STEM, 0.8 + 0.3 * spot.v);
        if (owner == parts.collar) return paintCollar(spot, collarCentre);
        if (owner == parts.trunk) return paintShirt(spot, skeleton);
        if (owner == parts.limbs.arm) return paintArm(spot);
        if (owner == parts.limbs.hand) return scaleColour(STRAW, 0.85 + 0.2 * valueNoise(spot.position * 3.0, 26));
        if (owner == parts.limbs.leg) return paintLeg(spot);
        if (owner == parts.limbs.foot) return paintBoot(spot);
        return SHIRT;
    };
    return figure;
}

}  // namespace characters
