// Marvin: a small green alien, mostly head: a tall egg-shaped skull with
// huge glossy black eyes, two antennae with glowing pink tips, a thin body
// in a silver suit with a purple collar, belt and boots, and a red badge.

#include "ShowFacts.h"
#include "characters/Figure.h"
#include "characters/FigureBuilder.h"

namespace characters {

namespace {

Proportions marvinProportions() {
    Proportions p;
    p.ankleHeight = 2.0, p.shinLength = 7.2, p.thighLength = 7.0, p.hipHalfWidth = 2.1, p.pelvisRise = 1.6;
    p.spineLength = 2.6, p.chestLength = 3.4, p.neckBase = 4.8, p.neckLength = 1.8;
    p.shoulderHalfWidth = 4.3, p.shoulderDrop = 1.2, p.upperArmLength = 6.0, p.forearmLength = 5.8, p.armSpread = 11.0;
    return p;
}

const Colour ALIEN = hexColour(0x7FD65A);
const Colour ALIEN_DARK = hexColour(0x4E9A35);
const Colour EYE = hexColour(0x101018);
const Colour SUIT = hexColour(0xD5DBE6);
const Colour SUIT_SHADE = hexColour(0xA7B0C2);
const Colour PURPLE = hexColour(0x7B3FC4);
const Colour BADGE = hexColour(0xE8323C);
const Colour TIP = hexColour(0xFF5FC8);

Colour paintHead(const PaintSpot& spot, const Vec3& centre) {
    Vec3 d = spot.position - centre;
    FaceAngles a = faceAngles(d);
    Colour skin = mixColour(ALIEN_DARK, ALIEN, 0.75 + 0.25 * fractalNoise(spot.position * 0.8, 31));
    // A paler top to the dome.
    skin = mixColour(skin, hexColour(0xB5F08E), 0.35 * smoothstep(0.7, 1.4, a.pitch));
    for (double side : {1.0, -1.0}) {
        // Big almond eyes slanting up and out.
        double x = (a.yaw - side * 0.42) * side;
        double y = a.pitch - 0.02 - 0.45 * x;
        double d2 = ellipseDistance(x, y, 0.0, 0.0, 0.32, 0.16);
        if (d2 < 1.0) {
            double glint = ellipseDistance(x, y, -0.08, 0.06, 0.07, 0.04);
            if (glint < 1.0) {
                return hexColour(0xEAF4FF);
            }
            return mixColour(hexColour(0x2A2A48), EYE, d2);
        }
        if (d2 < 1.12) {
            return ALIEN_DARK;
        }
    }
    // A small mouth, two nostril dots.
    if (std::fabs(a.yaw) < 0.14 && std::fabs(a.pitch + 0.42 - 0.4 * a.yaw * a.yaw) < 0.025) {
        return hexColour(0x2F5A20);
    }
    for (double side : {1.0, -1.0}) {
        if (ellipseDistance(a.yaw, a.pitch, side * 0.05, -0.24, 0.02, 0.02) < 1.0) {
            return hexColour(0x2F5A20);
        }
    }
    return skin;
}

Colour paintAntenna(const PaintSpot& spot) {
    if (spot.v > 0.72) {
        return mixColour(TIP, hexColour(0xFFD0F0), smoothstep(0.75, 1.0, spot.v));
    }
    return ALIEN;
}

Colour paintSuit(const PaintSpot& spot, const Skeleton& s) {
    Vec3 p = spot.position;
    double beltZ = s.restPosition[HIP_LEFT].z + 2.0;
    double neckZ = s.restPosition[NECK].z;
    if (p.z > neckZ + 0.3) {
        return ALIEN;
    }
    if (p.z > neckZ - 1.2) {
        return PURPLE;
    }
    if (std::fabs(p.z - beltZ) < 0.6) {
        return spot.normal.x > 0.85 && std::fabs(p.y) < 0.9 ? hexColour(0xFFD23A) : PURPLE;
    }
    // A round badge on the chest with a ring round it.
    double badge = ellipseDistance(p.y, p.z, 1.6, s.restPosition[CHEST].z + 1.6, 1.2, 1.2);
    if (spot.normal.x > 0.3 && badge < 1.0) {
        return badge < 0.55 ? hexColour(0xFFE0E0) : BADGE;
    }
    // Seams down the sides.
    if (std::fabs(spot.normal.y) > 0.93) {
        return SUIT_SHADE;
    }
    return mixColour(SUIT_SHADE, SUIT, 0.5 + 0.5 * spot.normal.z + 0.4);
}

Colour paintArm(const PaintSpot& spot) {
    if (spot.v > 0.86) {
        return PURPLE;
    }
    if (std::fabs(spot.v - 0.5) < 0.03) {
        return SUIT_SHADE;
    }
    return SUIT;
}

Colour paintLeg(const PaintSpot& spot) {
    if (spot.v > 0.8) {
        return PURPLE;
    }
    return std::fabs(spot.v - 0.5) < 0.03 ? SUIT_SHADE : SUIT;
}

}  // namespace

Figure makeMarvin() {
    Figure figure(CAST_NAMES[2], marvinProportions());
    figure.style.energy = 1.05, figure.style.bounce = 1.2, figure.style.looseness = 1.2;
    figure.skinBackground = SUIT;
    figure.skinOptions = {TgaStorage::RunLength, TgaRowOrder::TopDown};
    const Skeleton& s = figure.skeleton;
    FigureBuilder builder(s);
    const Vec3 headCentre = s.restPosition[HEAD] + Vec3(0.4, 0.0, 8.6);

    std::vector<Ring> headRings = blobRings(9.6, 7.6, 8.2, 12, 2.0);
    // An egg: narrow chin, wide domed skull.
    for (Ring& ring : headRings) {
        double t = ring.along / 9.6;
        double widen = 0.72 + 0.36 * (0.5 + 0.5 * t);
        ring.radiusFront *= widen;
        ring.radiusSide *= widen;
        ring.shiftFront = 0.6 * (1.0 - t) * 0.5;
    }
    // Tubes: origin, axis, rings (along, radius front, radius side), segments round, picture size.
    builder.addTube(HEAD, {headCentre, {0.0, 0.0, 1.0}, headRings, 14, {112, 80}},
                    [headCentre](const PaintSpot& spot) { return paintHead(spot, headCentre); });
    // Antennae: thin stalks from the crown, leaning out, with a ball at the top.
    const std::vector<Ring> antennaRings = {
        {0.0, 0.0, 0.0}, {0.2, 0.45, 0.45}, {2.0, 0.35, 0.35}, {4.5, 0.3, 0.3},
        {5.4, 0.7, 0.7}, {6.1, 1.2, 1.2},   {6.9, 1.1, 1.1},   {7.6, 0.0, 0.0},
    };
    TubeShape antenna{headCentre + Vec3(-0.5, 2.6, 7.0), normalize(Vec3(0.15, 0.45, 1.0)), antennaRings, 6, {20, 28}};
    antenna.front = normalize(cross(antenna.axis, Vec3(0, 1, 0)));
    builder.addMirroredTwin(builder.addTube(HEAD, antenna, paintAntenna));

    const TrunkHeights z(s);
    std::vector<Ring> trunk = {
        {z.hip - 3.0, 0.0, 0.0},        {z.hip - 2.5, 2.2, 2.9},      {z.hip - 1.2, 3.1, 3.8},
        {z.hip + 0.8, 3.3, 3.9, 0.3},   {z.hip + 2.6, 3.1, 3.5, 0.4}, {z.chest - 0.5, 3.0, 3.8, 0.3},
        {z.chest + 1.8, 3.2, 4.2, 0.2}, {z.chest + 3.6, 2.8, 4.3},    {z.neck - 0.8, 1.8, 2.8},
        {z.neck + 0.2, 1.2, 1.3},       {z.neck + 2.6, 1.2, 1.2},     {z.neck + 3.4, 0.0, 0.0},
    };
    builder.addTrunk(trunk, {88, 64}, [s](const PaintSpot& spot) { return paintSuit(spot, s); });

    LimbShapes limbs;
    limbs.arm.radii = {{0.0, 1.25}, {0.45, 0.95}, {0.6, 0.9}, {1.0, 0.85}};
    limbs.leg.radii = {{0.0, 1.7}, {0.35, 1.35}, {0.5, 1.15}, {0.75, 1.2}, {1.0, 1.1}};
    limbs.hand.radii = {1.3, 0.75, 1.7};
    limbs.foot.radii = {1.5, 1.7, 3.1}, limbs.footForward = 1.3, limbs.foot.squareness = 2.2;
    const PaintFunction boot = [](const PaintSpot& spot) {
        return spot.position.z < GROUND_HEIGHT + 0.5 ? hexColour(0x3A2060) : PURPLE;
    };
    // Arm, hand, leg, foot.
    builder.addLimbs(limbs, {paintArm, plainColour(ALIEN), paintLeg, boot});
    builder.finish(figure);
    figure.landmarks.browRight = headCentre + Vec3(5.0, -5.6, 0.6);
    figure.landmarks.handLength = limbs.handLength();
    return figure;
}

}  // namespace characters
