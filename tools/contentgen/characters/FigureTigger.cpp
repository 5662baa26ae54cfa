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
    p.ankleHeight = 2.4, p.shinLength = 8.6, p.thighLength = 8.4, p.hipHalfWidth = 2.7, p.pelvisRise = 2.0;
    p.spineLength = 3.6, p.chestLength = 4.4, p.neckBase = 5.8, p.neckLength = 1.4;
    p.shoulderHalfWidth = 5.6, p.shoulderDrop = 1.5, p.upperArmLength = 6.8, p.forearmLength = 6.4, p.armSpread = 11.0;
    p.tailLength = 15.0;
    return p;
}

const Colour ORANGE = hexColour(0xF28A1E);
const Colour ORANGE_DEEP = hexColour(0xD8641A);
const Colour STRIPE = hexColour(0x231510);
const Colour CREAM = hexColour(0xFBE8C8);
const Colour EYE_GREEN = hexColour(0x7BCB3A);
const Colour NOSE = hexColour(0xC8506A);

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
    figure.style.energy = 1.15, figure.style.bounce = 1.5, figure.style.looseness = 1.3;
    figure.style.tailSway = 18.0, figure.style.tailCurl = 22.0;
    figure.skinBackground = ORANGE;
    figure.skinOptions = {TgaStorage::Raw, TgaRowOrder::BottomUp, TgaChannels::Rgba};
    const Skeleton& s = figure.skeleton;
    FigureBuilder builder(s);
    const Vec3 headCentre = s.restPosition[HEAD] + Vec3(0.4, 0.0, 6.6);
    const Vec3 muzzleCentre = headCentre + Vec3(5.0, 0.0, -2.2);

    // Blobs: centre, radii (front, side, along the axis), segments round, rings along, picture size.
    builder.addBlob(HEAD, {headCentre, {6.6, 7.4, 6.6}, 12, 10, {104, 64}},
                    [headCentre](const PaintSpot& spot) { return paintHead(spot, headCentre); });
    builder.addBlob(HEAD, {muzzleCentre, {2.4, 3.2, 2.2}, 10, 6, {40, 24}},
                    [muzzleCentre](const PaintSpot& spot) { return paintMuzzle(spot, muzzleCentre); });
    BlobShape ear{headCentre + Vec3(-0.6, 4.6, 5.0), {0.9, 2.0, 2.2}, 8, 5, {24, 16}};
    ear.axis = normalize(Vec3(-0.1, 0.5, 1.0));
    builder.addMirroredTwin(builder.addBlob(HEAD, ear, [](const PaintSpot& spot) {
        return spot.normal.x > 0.3 && spot.v > 0.2 && spot.v < 0.85 ? CREAM : STRIPE;
    }));

    // The tail: eight rings tapering along its length, carried by its three joints.
    Vec3 tailBase = s.restPosition[TAIL_BASE];
    std::vector<Ring> tailRings;
    tailRings.push_back({-0.8, 0.0, 0.0});
    for (int k = 0; k <= 7; ++k) {
        double along = s.proportions.tailLength * k / 7.0;
        double radius = 1.15 - 0.35 * k / 7.0;
        tailRings.push_back({along, radius, radius});
    }
    tailRings.push_back({s.proportions.tailLength + 0.8, 0.0, 0.0});
    // A tube: origin, axis, rings (along, radius front, radius side), segments round, picture size.
    TubeShape tail{tailBase, normalize(s.restPosition[TAIL_TIP] - tailBase), tailRings, 6, {24, 64}};
    tail.front = {0, 0, 1};
    double step = length(s.restPosition[TAIL_MIDDLE] - tailBase);
    tail.spans = {{-1e9, TAIL_BASE}, {step, TAIL_MIDDLE}, {2.0 * step, TAIL_TIP}};
    tail.blendWidth = 3.0;
    builder.addTube(tail, paintTail);

    const TrunkHeights z(s);
    std::vector<Ring> trunk = {
        {z.hip - 3.8, 0.0, 0.0},        {z.hip - 3.2, 2.9, 3.8},        {z.hip - 1.6, 4.1, 5.0},
        {z.hip + 1.0, 4.3, 5.1, 0.3},   {z.hip + 3.4, 4.0, 4.7, 0.4},   {z.chest - 0.8, 4.2, 5.1, 0.5},
        {z.chest + 2.0, 4.6, 5.8, 0.5}, {z.chest + 4.3, 4.2, 6.0, 0.2}, {z.neck - 1.0, 3.2, 4.4},
        {z.neck + 0.2, 2.6, 2.8},       {z.neck + 2.8, 2.4, 2.4},       {z.neck + 3.6, 0.0, 0.0},
    };
    builder.addTrunk(trunk, {96, 72}, [s](const PaintSpot& spot) { return paintTrunk(spot, s); });

    LimbShapes limbs;
    limbs.arm.radii = {{0.0, 1.9}, {0.4, 1.6}, {0.6, 1.45}, {1.0, 1.35}};
    limbs.leg.radii = {{0.0, 2.6}, {0.3, 2.3}, {0.5, 1.8}, {0.75, 1.7}, {1.0, 1.5}};
    limbs.hand.radii = {1.6, 1.1, 1.7};
    limbs.foot.radii = {1.5, 1.9, 3.6}, limbs.footForward = 1.8, limbs.foot.squareness = 2.2, limbs.foot.rings = 6;
    // Stripes round the limbs: five on an arm, six on a leg.
    const PaintFunction arm = [](const PaintSpot& spot) { return paintLimb(spot, 5.0); };
    const PaintFunction leg = [](const PaintSpot& spot) { return paintLimb(spot, 6.0); };
    const PaintFunction foot = [](const PaintSpot& spot) {
        return spot.normal.x > 0.6 ? CREAM : fur(spot.position, spot.normal);
    };
    // Arm, hand, leg, foot.
    builder.addLimbs(limbs, {arm, plainColour(CREAM), leg, foot});
    builder.finish(figure);
    figure.landmarks.browRight = headCentre + Vec3(5.2, -4.8, 2.6);
    figure.landmarks.handLength = limbs.handLength();
    return figure;
}

}  // namespace characters
