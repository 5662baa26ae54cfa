// Droid: a broad, boxy robot in grey metal: a box head with a dark visor
// and a glowing cyan eye strip, an antenna with a red light, a chest box
// with panels, lamps and yellow-and-black hazard stripes, shoulder pads,
// jointed cylinder limbs, clamp hands and heavy block feet.

#include "ShowFacts.h"
#include "characters/Figure.h"
#include "characters/FigureBuilder.h"

namespace characters {

namespace {

Proportions droidProportions() {
    Proportions p;
    p.ankleHeight = 3.0, p.shinLength = 8.8, p.thighLength = 8.6, p.hipHalfWidth = 3.2, p.pelvisRise = 2.0;
    p.spineLength = 3.4, p.chestLength = 4.6, p.neckBase = 6.4, p.neckLength = 1.6;
    p.shoulderHalfWidth = 7.4, p.shoulderDrop = 2.0, p.upperArmLength = 7.0, p.forearmLength = 6.8, p.armSpread = 8.0;
    return p;
}

const Colour METAL = hexColour(0xB9C0C9);
const Colour METAL_DARK = hexColour(0x6E7782);
const Colour JOINT = hexColour(0x3C424B);
const Colour HAZARD = hexColour(0xF5B81C);
const Colour VISOR = hexColour(0x14181F);
const Colour CYAN = hexColour(0x5FF2FF);
const Colour RED_LAMP = hexColour(0xFF3B30);

// Rivets and brushed streaks on plain metal.
Colour brushed(const Vec3& p, const Colour& base) {
    double streak = 0.94 + 0.08 * valueNoise({p.x * 0.6, p.y * 0.6, p.z * 6.0}, 41);
    return scaleColour(base, streak);
}

Colour paintHead(const PaintSpot& spot, const Vec3& centre) {
    Vec3 d = spot.position - centre;
    // The visor wraps round the front half.
    if (spot.normal.x > 0.15 && std::fabs(d.z - 0.6) < 1.7) {
        bool eye = std::fabs(d.z - 0.7) < 0.45 && std::fabs(d.y) < 3.6;
        if (eye) {
            // A bright scanning strip with a hot spot on the right.
            double hot = std::exp(-std::pow((d.y + 1.5) / 1.2, 2.0));
            return mixColour(CYAN, hexColour(0xE8FFFF), hot);
        }
        return VISOR;
    }
    // A grille for a mouth.
    if (spot.normal.x > 0.5 && d.z < -1.8 && d.z > -3.4 && std::fabs(d.y) < 2.2) {
        return std::fmod(d.z + 10.0, 0.55) < 0.25 ? JOINT : METAL_DARK;
    }
    // Ear bolts.
    if (std::fabs(spot.normal.y) > 0.8 && ellipseDistance(d.x, d.z, -0.3, 0.0, 1.6, 1.6) < 1.0) {
        return ellipseDistance(d.x, d.z, -0.3, 0.0, 1.6, 1.6) < 0.5 ? HAZARD : METAL_DARK;
    }
    return brushed(spot.position, METAL);
}

Colour paintTrunk(const PaintSpot& spot, const Skeleton& s) {
    Vec3 p = spot.position;
    double chestZ = s.restPosition[CHEST].z;
    double waistZ = s.restPosition[SPINE].z - 0.5;
    double neckZ = s.restPosition[NECK].z;
    if (p.z > neckZ - 0.6) {
        return std::fmod(p.z + 20.0, 0.8) < 0.4 ? JOINT : METAL_DARK;
    }
    // The waist is a dark ribbed joint.
    if (std::fabs(p.z - waistZ) < 1.2) {
        return std::fmod(p.z + 20.0, 0.7) < 0.35 ? JOINT : METAL_DARK;
    }
    if (p.z < waistZ) {
        // Hip block with a hazard band.
        if (std::fabs(p.z - (waistZ - 2.2)) < 0.6) {
            return std::fmod(p.x + p.y + p.z + 40.0, 1.4) < 0.7 ? HAZARD : JOINT;
        }
        return brushed(p, METAL_DARK);
    }
    if (spot.normal.x > 0.55) {
        // The front panel: lamps, a dial and a vent.
        double panelY = std::fabs(p.y);
        if (panelY < 3.6 && p.z > chestZ - 1.5 && p.z < chestZ + 4.0) {
            for (int lamp = 0; lamp < 3; ++lamp) {
                double ly = -2.2 + 2.2 * lamp;
                if (ellipseDistance(p.y, p.z, ly, chestZ + 2.6, 0.55, 0.55) < 1.0) {
                    static const Colour LAMPS[3] = {RED_LAMP, HAZARD, hexColour(0x3DFF6E)};
                    return LAMPS[lamp];
                }
            }
            if (p.z < chestZ + 1.2 && std::fmod(p.z + 20.0, 0.6) < 0.28) {
                return JOINT;
            }
            if (panelY > 3.3 || p.z > chestZ + 3.7 || p.z < chestZ - 1.2) {
                return JOINT;
            }
            return hexColour(0xDDE2E8);
        }
    }
    // Hazard stripes across the top of the shoulders.
    if (p.z > chestZ + 4.6 && std::fabs(p.y) > 3.0) {
        return std::fmod(p.x + p.y * 0.7 + 40.0, 1.4) < 0.7 ? HAZARD : JOINT;
    }
    return brushed(p, METAL);
}

Colour paintLimb(const PaintSpot& spot, double jointV) {
    // Dark rubber at the joints, metal between, a hazard stripe mid-length.
    if (std::fabs(spot.v - jointV) < 0.07 || spot.v < 0.08) {
        return std::fmod(spot.v * 60.0, 2.0) < 1.0 ? JOINT : METAL_DARK;
    }
    if (std::fabs(spot.v - jointV * 0.5) < 0.03) {
        return HAZARD;
    }
    return brushed(spot.position, METAL);
}

}  // namespace

Figure makeDroid() {
    Figure figure(CAST_NAMES[3], droidProportions());
    figure.style.energy = 0.85, figure.style.bounce = 0.7, figure.style.looseness = 0.4;
    figure.skinBackground = METAL;
    figure.skinOptions = {TgaStorage::Raw};
    const Skeleton& s = figure.skeleton;
    FigureBuilder builder(s);
    const Vec3 headCentre = s.restPosition[HEAD] + Vec3(0.3, 0.0, 4.8);

    // Blobs: centre, radii (front, side, along the axis), segments round, rings along, picture size.
    BlobShape head{headCentre, {5.2, 5.8, 4.8}, 14, 9, {112, 56}};
    head.squareness = 5.0;
    builder.addBlob(HEAD, head, [headCentre](const PaintSpot& spot) { return paintHead(spot, headCentre); });
    const std::vector<Ring> antennaRings = {
        {0.0, 0.0, 0.0},   {0.1, 0.8, 0.8}, {0.9, 0.6, 0.6},   {1.0, 0.25, 0.25},
        {4.6, 0.22, 0.22}, {5.2, 0.8, 0.8}, {6.1, 0.75, 0.75}, {6.6, 0.0, 0.0},
    };
    // A tube: origin, axis, rings (along, radius front, radius side), segments round, picture size.
    TubeShape antenna{headCentre + Vec3(-1.2, -2.6, 4.3), normalize(Vec3(-0.1, -0.1, 1.0)), antennaRings, 6, {16, 28}};
    builder.addTube(HEAD, antenna, [](const PaintSpot& spot) { return spot.v > 0.7 ? RED_LAMP : METAL_DARK; });

    const TrunkHeights z(s);
    std::vector<Ring> trunk = {
        {z.hip - 3.2, 0.0, 0.0},        {z.hip - 3.0, 3.4, 4.8},        {z.hip - 1.0, 3.8, 5.2},
        {z.spine - 1.6, 3.6, 4.8},      {z.spine - 0.5, 3.0, 3.8},      {z.spine + 0.6, 3.2, 4.2},
        {z.chest - 1.6, 4.8, 6.8, 0.4}, {z.chest + 2.0, 5.2, 7.4, 0.5}, {z.chest + 4.8, 5.0, 7.4, 0.3},
        {z.neck - 1.0, 4.4, 6.4},       {z.neck - 0.8, 1.9, 2.0},       {z.neck + 2.4, 1.8, 1.8},
        {z.neck + 2.6, 0.0, 0.0},
    };
    const PaintFunction body = [s](const PaintSpot& spot) { return paintTrunk(spot, s); };
    builder.addTrunk(trunk, {96, 80}, body, 5.0);  // squareness 5: a box

    // Shoulder pads: rounded boxes riding on the upper arms.
    BlobShape pad{s.restPosition[SHOULDER_LEFT] + Vec3(0.0, 0.8, 0.6), {2.8, 2.7, 2.6}, 8, 5, {32, 24}};
    pad.squareness = 4.0;
    builder.addMirroredTwin(builder.addBlob(SHOULDER_LEFT, pad, [](const PaintSpot& spot) {
        return spot.normal.z > 0.6 ? (std::fmod(spot.position.x + 40.0, 1.4) < 0.7 ? HAZARD : JOINT)
                                   : brushed(spot.position, METAL);
    }));

    LimbShapes limbs;
    // Round jointed cylinders, with a bulge at the elbow and the knee.
    limbs.arm.radii = {{0.0, 1.6}, {0.4, 1.5}, {0.5, 1.9}, {0.58, 1.5}, {1.0, 1.45}};
    limbs.arm.flatten = 1.0, limbs.arm.rings = 8;
    limbs.leg.radii = {{0.0, 2.1}, {0.42, 2.0}, {0.5, 2.4}, {0.58, 2.0}, {1.0, 1.9}};
    limbs.leg.flatten = 1.0, limbs.leg.rings = 8;
    limbs.hand.radii = {1.8, 1.1, 1.9}, limbs.hand.squareness = 3.5;
    limbs.foot.radii = {1.9, 2.4, 4.2}, limbs.footForward = 1.6, limbs.foot.squareness = 5.0, limbs.foot.rings = 6;
    // The elbow and the knee lie at v 0.55 of the limbs' pictures.
    const PaintFunction limb = [](const PaintSpot& spot) { return paintLimb(spot, 0.55); };
    const PaintFunction hand = [](const PaintSpot& spot) {
        return std::fabs(spot.normal.y) > 0.7 ? METAL_DARK : JOINT;
    };
    const PaintFunction foot = [](const PaintSpot& spot) {
        if (spot.position.z < GROUND_HEIGHT + 0.9) return JOINT;
        return spot.normal.x > 0.8 ? HAZARD : brushed(spot.position, METAL_DARK);
    };
    // Arm, hand, leg, foot.
    builder.addLimbs(limbs, {limb, hand, limb, foot});
    builder.finish(figure);
    figure.landmarks.browRight = headCentre + Vec3(5.8, -4.4, 2.2);
    figure.landmarks.handLength = limbs.handLength();
    return figure;
}

}  // namespace characters
