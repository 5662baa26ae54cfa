#pragma once

#include <utility>
#include <vector>

#include "characters/CharacterMesh.h"
#include "characters/Skeleton.h"

namespace characters {

// A radius along a limb: at `fraction` of the way from its first joint to
// its last, the limb is `radius` thick.
struct RadiusAt {
    double fraction;
    double radius;
};

// The shapes of a figure's arms, hands, legs and feet.
struct LimbShapes {
    std::vector<RadiusAt> arm{{0.0, 1.9}, {0.35, 1.6}, {0.55, 1.45}, {1.0, 1.15}};
    std::vector<RadiusAt> leg{{0.0, 2.5}, {0.3, 2.2}, {0.5, 1.8}, {0.75, 1.7}, {1.0, 1.35}};
    double armFlatten = 0.9;
    double legFlatten = 0.95;
    int armSegments = 8;
    int armRings = 7;
    int legSegments = 8;
    int legRings = 7;
    Vec3 handRadii{1.3, 0.85, 1.7};  // across the knuckles, palm to back, wrist to fingertips
    double handSquareness = 2.0;
    int handSegments = 6;
    int handRings = 5;
    Vec3 footRadii{1.5, 1.8, 3.6};  // up, across, heel to toe
    double footForward = 1.5;       // how far the foot's middle lies ahead of the ankle
    double footSquareness = 2.6;
    int footSegments = 8;
    int footRings = 7;
    int armAtlas[2] = {40, 64};
    int handAtlas[2] = {24, 20};
    int legAtlas[2] = {44, 72};
    int footAtlas[2] = {40, 32};
};

// The width and height of a part's picture on the skin, in texels.
struct AtlasSize {
    int width = 0;
    int height = 0;
};

// An ellipsoid (or, with squareness above 2, a rounded box) round `centre`:
// `radii` are towards `front`, to the side and along `axis`.
struct BlobShape {
    Vec3 centre;
    Vec3 radii;
    Vec3 axis{0.0, 0.0, 1.0};
    Vec3 front{1.0, 0.0, 0.0};
    int segments = 0;  // round the axis
    int rings = 0;     // from end to end
    AtlasSize atlas;
    double squareness = 2.0;
};

// A limb from joint `first` through `middle` to the point `end`; `radii`
// give its thickness along the way (squeezed by `flatten` towards the
// front) and `front` is where its picture is centred.
struct LimbShape {
    Joint first = PELVIS;
    Joint middle = PELVIS;
    Vec3 end;
    std::vector<RadiusAt> radii;
    double flatten = 1.0;
    Vec3 front{1.0, 0.0, 0.0};
    int segments = 0;
    int bodyRings = 0;  // between the two rounded ends
    AtlasSize atlas;
};

// A tube through `rings` along `axis` from `origin`, carried by the joints
// of `spans`, which blend over `blendWidth`.
struct TubeShape {
    Vec3 origin;
    Vec3 axis{0.0, 0.0, 1.0};
    Vec3 front{1.0, 0.0, 0.0};
    std::vector<Ring> rings;
    std::vector<JointSpan> spans;
    int segments = 0;
    AtlasSize atlas;
    double squareness = 2.0;
    double blendWidth = 2.0;
};

// The part numbers of the left limbs; each right twin follows its left part.
struct LimbParts {
    int arm;
    int hand;
    int leg;
    int foot;
};

// Builds a figure's parts on its skeleton and places each part's picture on
// the skin, shelf by shelf from the top left.
class FigureBuilder {
public:
    explicit FigureBuilder(const Skeleton& figureSkeleton) : skeleton(figureSkeleton) {}

    const Skeleton& skeleton;
    CharacterMesh mesh;

    // A free rectangle of the skin; the figure fails to build when none is left.
    AtlasRect allocate(int width, int height);

    // An ellipsoid or rounded box carried by one joint.
    int addBlob(Joint joint, const BlobShape& shape);

    // A limb from one joint through the next to a point, each half carried by
    // the joint it starts at, with rounded ends.
    int addLimb(const LimbShape& shape);

    // A tube through explicit rings, carried by the joints of its spans.
    int addTube(const TubeShape& shape);

    // The right-hand twin of a left part: mirrored across the figure's
    // middle, carried by the matching right joints, sharing the left part's
    // picture.
    int addMirroredTwin(int leftPart);

    // The trunk from the crotch to the top of the neck: rings whose `along`
    // is their height, carried by the pelvis, spine, chest and neck in turn.
    int addTrunk(const std::vector<Ring>& rings, int segments, int atlasWidth, int atlasHeight,
                 double squareness = 2.0);

    // Both arms, hands, legs and feet on the skeleton.
    LimbParts addLimbs(const LimbShapes& shapes);

    // Adds a finished part as it is.
    int addPart(BodyPart part);

private:
    int shelfX = 2;
    int shelfY = 2;
    int shelfHeight = 0;
};

Joint mirrorJoint(Joint joint);

// Rings of an ellipsoid (squareness 2) or superellipsoid of half-length
// `halfLength` along its axis, from one end point to the other.
std::vector<Ring> blobRings(double halfLength, double radiusFront, double radiusSide, int rings, double squareness);

}  // namespace characters
