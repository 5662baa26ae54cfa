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
    p.ankleHeight = 2.6, p.shinLength = 11.5, p.thighLength = 11.0, p.hipHalfWidth = 2.3, p.pelvisRise = 2.0;
    p.spineLength = 3.8, p.chestLength = 4.5, p.neckBase = 6.2, p.neckLength = 1.6;
    p.shoulderHalfWidth = 5.4, p.shoulderDrop = 1.4, p.upperArmLength = 8.2, p.forearmLength = 7.8, p.armSpread = 10.0;
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
    figure.style.energy = 1.1, figure.style.looseness = 1.4;
    figure.skinBackground = SHIRT;
    figure.skinOptions = {TgaStorage::Raw, TgaRowOrder::TopDown};
    const Skeleton& s = figure.skeleton;
    FigureBuilder builder(s);
    const Vec3 headCentre = s.restPosition[HEAD] + Vec3(0.2, 0.0, 6.4);
    const TrunkHeights z(s);

    std::vector<Ring> pumpkinRings = blobRings(7.0, 8.4, 9.2, 11, 2.0);
    // Flatten the top and bottom into a squat pumpkin with a dimple at each end.
    for (Ring& ring : pumpkinRings) {
        double t = ring.along / 7.0;
        ring.along *= 1.0 - 0.12 * (1.0 - t * t);
    }
    // A tube: origin, axis, rings (along, radius front, radius side), segments round, picture size.
    TubeShape pumpkin{headCentre, {0.0, 0.0, 1.0}, pumpkinRings, 16, {128, 64}};
    pumpkin.sectionScale = [](double angle, double v) { return 1.0 + 0.06 * std::cos(8.0 * angle) * std::sin(PI * v); };
    builder.addTube(HEAD, pumpkin, [headCentre](const PaintSpot& spot) { return paintPumpkin(spot, headCentre); });
    // Blobs: centre, radii (front, side, along the axis), segments round, rings along, picture size.
    BlobShape stem{headCentre + Vec3(-0.6, 0.4, 7.3), {0.9, 0.9, 2.2}, 6, 5, {16, 16}};
    stem.axis = normalize(Vec3(-0.35, 0.2, 1.0));
    builder.addBlob(HEAD, stem, [](const PaintSpot& spot) { return scaleColour(STEM, 0.8 + 0.3 * spot.v); });
    const Vec3 collarCentre(0.3, 0.0, z.neck + 0.2);
    builder.addBlob(NECK, {collarCentre, {6.0, 6.4, 1.2}, 14, 5, {64, 16}},
                    [collarCentre](const PaintSpot& spot) { return paintCollar(spot, collarCentre); });

    std::vector<Ring> trunk = {
        {z.hip - 3.6, 0.0, 0.0},        {z.hip - 3.0, 2.4, 3.4},   {z.hip - 1.6, 3.4, 4.4},
        {z.hip + 0.8, 3.5, 4.4},        {z.hip + 3.5, 3.0, 3.9},   {z.chest - 1.0, 3.3, 4.4, 0.2},
        {z.chest + 2.0, 3.7, 5.1, 0.3}, {z.chest + 4.3, 3.4, 5.6}, {z.neck - 1.0, 2.4, 3.6},
        {z.neck + 0.2, 1.6, 1.8},       {z.neck + 2.2, 1.5, 1.5},  {z.neck + 3.0, 0.0, 0.0},
    };
    builder.addTrunk(trunk, {96, 72}, [s](const PaintSpot& spot) { return paintShirt(spot, s); });

    LimbShapes limbs;
    limbs.arm.radii = {{0.0, 1.5}, {0.4, 1.25}, {0.6, 1.15}, {1.0, 1.0}};
    limbs.leg.radii = {{0.0, 2.0}, {0.3, 1.75}, {0.5, 1.5}, {0.75, 1.45}, {1.0, 1.3}};
    limbs.hand.radii = {1.5, 0.9, 1.9};
    limbs.foot.radii = {1.9, 2.1, 4.4}, limbs.footForward = 2.0, limbs.foot.squareness = 2.4;
    const PaintFunction straw = [](const PaintSpot& spot) {
        return scaleColour(STRAW, 0.85 + 0.2 * valueNoise(spot.position * 3.0, 26));
    };
    // Arm, hand, leg, foot.
    builder.addLimbs(limbs, {paintArm, straw, paintLeg, paintBoot});
    builder.finish(figure);
    figure.landmarks.browRight = headCentre + Vec3(6.4, -5.4, 2.8);
    figure.landmarks.handLength = limbs.handLength();
    return figure;
}

}  // namespace characters
