// Zorbi, the hero: a big round head with a brown quiff and bright eyes, a
// blue jacket with a yellow flash across the chest, a red scarf, navy
// trousers and red trainers.

#include "ShowFacts.h"
#include "characters/Figure.h"
#include "characters/FigureBuilder.h"

namespace characters {

namespace {

Proportions zorbiProportions() {
    Proportions p;
    p.ankleHeight = 2.5, p.shinLength = 9.0, p.thighLength = 9.0, p.hipHalfWidth = 2.6, p.pelvisRise = 2.0;
    p.spineLength = 3.5, p.chestLength = 4.0, p.neckBase = 6.0, p.neckLength = 2.0;
    p.shoulderHalfWidth = 5.8, p.shoulderDrop = 1.6, p.upperArmLength = 7.5, p.forearmLength = 7.0, p.armSpread = 9.0;
    return p;
}

const Colour SKIN = hexColour(0xF2C29B);
const Colour SKIN_SHADOW = hexColour(0xD99A78);
const Colour HAIR = hexColour(0x5E3519);
const Colour JACKET = hexColour(0x2456C8);
const Colour JACKET_DARK = hexColour(0x183C8E);
const Colour FLASH = hexColour(0xFFD23A);
const Colour SCARF = hexColour(0xE03A2F);
const Colour TROUSERS = hexColour(0x2B2F4A);
const Colour SHOE = hexColour(0xE5362B);
const Colour WHITE = hexColour(0xF7F5F0);
const Colour EYE_BLUE = hexColour(0x2E86DE);
const Colour INK = hexColour(0x1A1414);
const Colour LIPS = hexColour(0x9E2A2A);

Colour paintHead(const PaintSpot& spot, const Vec3& headCentre) {
    FaceAngles a = faceAngles(spot.position - headCentre);
    Vec3 p = spot.position;
    double hairNoise = fractalNoise(p * 0.9, 11);
    // Hair covers the crown and the back; the hairline dips at the temples.
    double hairline = 0.38 + 0.25 * std::fabs(std::sin(a.yaw)) - 0.12 * hairNoise;
    bool back = std::cos(a.yaw) < -0.1;
    if (a.pitch > hairline || (back && a.pitch > -0.35 + 0.1 * hairNoise)) {
        double streak = 0.85 + 0.3 * valueNoise({a.yaw * 9.0, a.pitch * 2.0, 0.0}, 12);
        return scaleColour(HAIR, streak);
    }
    Colour colour = SKIN;
    // Ears: a darker ring on each side.
    for (double side : {1.0, -1.0}) {
        double d = ellipseDistance(a.yaw, a.pitch, side * 1.62, 0.0, 0.2, 0.3);
        if (d < 1.0) {
            return mixColour(SKIN_SHADOW, SKIN, d * d);
        }
    }
    // Eyebrows above the eyes.
    for (double side : {1.0, -1.0}) {
        double browYaw = side * 0.36;
        double dy = a.pitch - (0.36 + 0.05 * std::cos((a.yaw - browYaw) * 6.0));
        if (std::fabs(a.yaw - browYaw) < 0.2 && std::fabs(dy) < 0.045) {
            return HAIR;
        }
    }
    // A wide smile.
    double smileCentre = -0.38 + 0.55 * a.yaw * a.yaw;
    if (std::fabs(a.yaw) < 0.42 && std::fabs(a.pitch - smileCentre) < 0.045) {
        return LIPS;
    }
    if (std::fabs(a.yaw) < 0.42 && std::fabs(std::fabs(a.yaw) - 0.42) < 0.04 &&
        std::fabs(a.pitch - smileCentre) < 0.08) {
        return LIPS;
    }
    // Rosy cheeks.
    for (double side : {1.0, -1.0}) {
        double d = ellipseDistance(a.yaw, a.pitch, side * 0.62, -0.2, 0.18, 0.12);
        colour = mixColour(hexColour(0xF08C7A), colour, smoothstep(0.3, 1.0, d));
    }
    // Shade under the chin.
    return mixColour(SKIN_SHADOW, colour, smoothstep(-0.85, -0.45, a.pitch));
}

Colour paintEye(const PaintSpot& spot) {
    // Angles on the eyeball from its front, so the iris stays round however
    // the ball is stretched.
    double across = (spot.u - 0.5) * 2.0 * PI;
    double up = (spot.v - 0.5) * PI;
    double fromFront = std::sqrt(across * across + up * up);
    if (ellipseDistance(across, up, 0.22, 0.28, 0.14, 0.14) < 1.0) {
        return WHITE;
    }
    if (fromFront < 0.36) {
        return INK;
    }
    if (fromFront < 0.72) {
        return mixColour(scaleColour(EYE_BLUE, 0.55), EYE_BLUE, (fromFront - 0.36) / 0.36);
    }
    if (fromFront < 0.8) {
        return scaleColour(EYE_BLUE, 0.45);
    }
    // The upper lid.
    return up > 0.95 ? mixColour(SKIN, WHITE, 0.2) : WHITE;
}

Colour paintTrunk(const PaintSpot& spot, const Skeleton& s) {
    Vec3 p = spot.position;
    double chestZ = s.restPosition[CHEST].z;
    double neckZ = s.restPosition[NECK].z;
    double beltZ = s.restPosition[HIP_LEFT].z + 2.6;
    if (p.z > neckZ - 1.6) {
        // The scarf: red with darker folds.
        double fold = 0.85 + 0.15 * std::sin(std::atan2(p.y, p.x) * 7.0 + p.z * 1.5);
        return scaleColour(SCARF, fold);
    }
    if (std::fabs(p.z - beltZ) < 0.7) {
        bool buckle = spot.normal.x > 0.85 && std::fabs(p.y) < 1.1;
        return buckle ? FLASH : hexColour(0x3A2A20);
    }
    if (p.z < beltZ) {
        bool fly = spot.normal.x > 0.8 && std::fabs(p.y) < 0.15;
        return fly ? scaleColour(TROUSERS, 0.7) : TROUSERS;
    }
    // The jacket: a zip down the front and a yellow flash across the chest.
    if (spot.normal.x > 0.6 && std::fabs(p.y) < 0.18) {
        return hexColour(0xC8CCD8);
    }
    double flashCentre = chestZ + 1.3 + 0.9 * std::sin(p.y * 0.9 + 0.6 * p.x);
    if (std::fabs(p.z - flashCentre) < 0.8) {
        return FLASH;
    }
    double hem = beltZ + 1.2;
    return p.z < hem ? JACKET_DARK : JACKET;
}

Colour paintArm(const PaintSpot& spot) {
    // A sleeve to just below the elbow, a yellow cuff, then bare forearm.
    if (spot.v < 0.62) {
        return JACKET;
    }
    if (spot.v < 0.68) {
        return FLASH;
    }
    return SKIN;
}

Colour paintLeg(const PaintSpot& spot) {
    if (std::fabs(spot.normal.y) > 0.85) {
        return SCARF;
    }
    return spot.v > 0.9 ? scaleColour(TROUSERS, 0.8) : TROUSERS;
}

Colour paintShoe(const PaintSpot& spot) {
    Vec3 p = spot.position;
    if (p.z < GROUND_HEIGHT + 0.8) {
        return WHITE;
    }
    // A white toe cap, and white laces across the top.
    if (spot.normal.x > 0.75) {
        return WHITE;
    }
    if (spot.normal.z > 0.8 && std::fmod(p.x + 20.0, 1.0) < 0.35) {
        return WHITE;
    }
    return SHOE;
}

}  // namespace

Figure makeZorbi() {
    Figure figure(CAST_NAMES[0], zorbiProportions());
    figure.style.energy = 1.0, figure.style.looseness = 1.0;
    figure.skinBackground = JACKET;
    figure.skinOptions = {TgaStorage::RunLength};
    const Skeleton& s = figure.skeleton;
    FigureBuilder builder(s);
    const Vec3 headCentre = s.restPosition[HEAD] + Vec3(0.3, 0.0, 7.2);

    // Blobs: centre, radii (front, side, along the axis), segments round, rings along, picture size.
    builder.addBlob(HEAD, {headCentre, {7.3, 7.5, 7.6}, 12, 11, {112, 72}},
                    [headCentre](const PaintSpot& spot) { return paintHead(spot, headCentre); });
    builder.addMirroredTwin(
        builder.addBlob(HEAD, {headCentre + Vec3(6.0, 2.5, 0.8), {1.9, 1.6, 2.3}, 7, 5, {28, 20}}, paintEye));
    builder.addBlob(HEAD, {headCentre + Vec3(7.4, 0.0, -1.4), {1.3, 1.1, 1.1}, 6, 5, {16, 12}},
                    plainColour(mixColour(SKIN, hexColour(0xF0A080), 0.35)));
    BlobShape quiff{headCentre + Vec3(3.2, 0.0, 6.6), {1.6, 2.2, 3.4}, 6, 5, {24, 16}};
    quiff.axis = normalize(Vec3(0.9, 0.0, 0.45));
    quiff.front = {0, 0, 1};
    builder.addBlob(HEAD, quiff, [](const PaintSpot& spot) {
        return scaleColour(HAIR, 0.9 + 0.25 * valueNoise(spot.position * 2.0, 5));
    });

    const TrunkHeights z(s);
    std::vector<Ring> trunk = {
        {z.hip - 4.2, 0.0, 0.0},        {z.hip - 3.6, 2.8, 3.8},        {z.hip - 2.0, 4.1, 5.2},
        {z.hip + 0.5, 4.4, 5.5},        {z.hip + 3.0, 4.1, 5.0, 0.2},   {z.chest - 1.0, 4.4, 5.4, 0.4},
        {z.chest + 2.0, 4.8, 6.1, 0.4}, {z.chest + 4.5, 4.4, 6.3, 0.2}, {z.neck - 1.2, 3.2, 4.4},
        {z.neck - 0.2, 2.4, 2.6},       {z.neck + 2.5, 2.0, 2.1},       {z.neck + 3.4, 0.0, 0.0},
    };
    builder.addTrunk(trunk, {96, 80}, [s](const PaintSpot& spot) { return paintTrunk(spot, s); });

    // The hero's limbs are the shapes every figure starts from.
    const LimbShapes limbs;
    // Arm, hand, leg, foot.
    builder.addLimbs(limbs, {paintArm, plainColour(SKIN), paintLeg, paintShoe});
    builder.finish(figure);
    figure.landmarks.browRight = headCentre + Vec3(5.8, -4.6, 2.4);
    figure.landmarks.handLength = limbs.handLength();
    return figure;
}

}  // namespace characters
