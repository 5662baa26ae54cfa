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
    p.ankleHeight = 2.0, p.shinLength = 8.0, p.thighLength = 8.0, p.hipHalfWidth = 2.8, p.pelvisRise = 2.0;
    p.spineLength = 3.0, p.chestLength = 4.0, p.neckBase = 5.4, p.neckLength = 1.4;
    p.shoulderHalfWidth = 5.4, p.shoulderDrop = 1.6, p.upperArmLength = 6.2, p.forearmLength = 5.8, p.armSpread = 14.0;
    p.earHalfWidth = 2.4, p.earRise = 10.6;
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
    figure.style.energy = 1.0, figure.style.bounce = 1.4, figure.style.looseness = 1.1, figure.style.earSwing = 9.0;
    figure.skinBackground = FUR;
    figure.skinOptions = {TgaStorage::RunLength};
    const Skeleton& s = figure.skeleton;
    FigureBuilder builder(s);
    const Vec3 headCentre = s.restPosition[HEAD] + Vec3(0.4, 0.0, 6.2);
    const Vec3 muzzleCentre = headCentre + Vec3(4.8, 0.0, -2.0);

    // Blobs: centre, radii (front, side, along the axis), segments round, rings along, picture size.
    builder.addBlob(HEAD, {headCentre, {6.2, 6.0, 6.4}, 12, 9, {96, 64}},
                    [headCentre](const PaintSpot& spot) { return paintHead(spot, headCentre); });
    builder.addBlob(HEAD, {muzzleCentre, {2.0, 2.7, 1.9}, 8, 6, {40, 20}},
                    [muzzleCentre](const PaintSpot& spot) { return paintMuzzle(spot, muzzleCentre); });
    builder.addBlob(HEAD, {muzzleCentre + Vec3(1.8, 0.0, 0.9), {0.7, 0.9, 0.6}, 6, 4, {12, 8}}, plainColour(NOSE));
    const std::vector<Ring> earRings = {
        {0.0, 0.0, 0.0},  {0.3, 0.6, 1.1},  {2.0, 0.8, 1.8},  {5.0, 0.85, 2.2},
        {8.0, 0.75, 2.1}, {10.5, 0.6, 1.5}, {12.0, 0.4, 0.8}, {12.6, 0.0, 0.0},
    };
    // A tube: origin, axis, rings (along, radius front, radius side), segments round, picture size.
    const Vec3 earOrigin = s.restPosition[EAR_LEFT] + Vec3(-0.6, 0.0, 0.0);
    TubeShape ear{earOrigin, normalize(Vec3(-0.22, 0.2, 1.0)), earRings, 8, {32, 64}};
    builder.addMirroredTwin(builder.addTube(EAR_LEFT, ear, paintEar));
    const TrunkHeights z(s);
    builder.addBlob(PELVIS, {{-4.6, 0.0, z.pelvis - 1.6}, {1.9, 1.9, 1.9}, 6, 5, {24, 16}}, [](const PaintSpot& spot) {
        return scaleColour(WHITE, 0.92 + 0.08 * valueNoise(spot.position * 3.0, 52));
    });

    std::vector<Ring> trunk = {
        {z.hip - 3.6, 0.0, 0.0},        {z.hip - 3.0, 3.2, 4.0},        {z.hip - 1.4, 4.6, 5.2, 0.3},
        {z.hip + 1.2, 5.0, 5.6, 0.8},   {z.hip + 3.6, 4.8, 5.4, 0.9},   {z.chest - 0.6, 4.5, 5.2, 0.7},
        {z.chest + 2.0, 4.2, 5.2, 0.4}, {z.chest + 4.0, 3.6, 5.0, 0.2}, {z.neck - 1.0, 2.8, 3.8},
        {z.neck + 0.2, 2.3, 2.5},       {z.neck + 2.6, 2.2, 2.2},       {z.neck + 3.4, 0.0, 0.0},
    };
    builder.addTrunk(trunk, {96, 72}, [s](const PaintSpot& spot) { return paintTrunk(spot, s); });

    LimbShapes limbs;
    limbs.arm.radii = {{0.0, 1.6}, {0.4, 1.35}, {0.6, 1.25}, {1.0, 1.15}}, limbs.arm.rings = 6;
    limbs.leg.radii = {{0.0, 2.8}, {0.3, 2.5}, {0.5, 1.9}, {0.75, 1.6}, {1.0, 1.4}};
    limbs.hand.radii = {1.4, 1.0, 1.6};
    limbs.foot.radii = {1.4, 1.9, 4.8}, limbs.footForward = 2.6, limbs.foot.squareness = 2.2, limbs.foot.rings = 6;
    const PaintFunction fur = [](const PaintSpot& spot) { return furAt(spot.position, spot.normal); };
    const PaintFunction foot = [](const PaintSpot& spot) {
        return spot.position.z < GROUND_HEIGHT + 0.6 ? PINK : mixColour(WHITE, FUR, 0.4);
    };
    // Arm, hand, leg, foot.
    builder.addLimbs(limbs, {fur, plainColour(WHITE), fur, foot});
    builder.finish(figure);
    figure.landmarks.browRight = headCentre + Vec3(4.8, -4.0, 2.6);
    figure.landmarks.handLength = limbs.handLength();
    return figure;
}

}  // namespace characters
