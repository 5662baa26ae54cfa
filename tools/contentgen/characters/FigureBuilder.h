#pragma once

#include <functional>
#include <vector>

#include "characters/CharacterMesh.h"
#include "characters/Figure.h"
#include "characters/Skeleton.h"
#include "characters/SkinPainter.h"

namespace characters {

// A radius along a limb: at `fraction` of the way from its first joint to
// its last, the limb is `radius` thick.
struct RadiusAt {
    double fraction;
    double radius;
};

// The width and height of a part's picture on the skin, in texels.
struct AtlasSize {
    int width = 0;
    int height = 0;
};

// A limb from its first joint to its end: radii along the way (squeezed by
// `flatten` towards the front), segments round, rings between the two
// rounded ends, and the size of its picture.
struct LimbProfile {
    std::vector<RadiusAt> radii;
    double flatten = 1.0;
    int segments = 8;
    int rings = 7;
    AtlasSize atlas;
};

// A hand or a foot: a blob of `radii` (across the knuckles, palm to back,
// wrist to fingertips; a foot's up, across, heel to toe).
struct EndShape {
    Vec3 radii;
    double squareness = 2.0;
    int segments = 8;
    int rings = 7;
    AtlasSize atlas;
};

// The shapes of a figure's arms, hands, legs and feet; these are the hero's.
struct LimbShapes {
    // Radii along, flatten, segments, rings, picture size.
    LimbProfile arm{{{0.0, 1.9}, {0.35, 1.6}, {0.55, 1.45}, {1.0, 1.15}}, 0.9, 8, 7, {40, 64}};
    LimbProfile leg{{{0.0, 2.5}, {0.3, 2.2}, {0.5, 1.8}, {0.75, 1.7}, {1.0, 1.35}}, 0.95, 8, 7, {44, 72}};
    // Radii, squareness, segments, rings, picture size.
    EndShape hand{{1.3, 0.85, 1.7}, 2.0, 6, 5, {24, 20}};
    EndShape foot{{1.5, 1.8, 3.6}, 2.6, 8, 7, {40, 32}};
    double footForward = 1.5;  // how far the foot's middle lies ahead of the ankle

    // Wrist to fingertips: the hand's middle lies 0.8 of its half-length
    // past the wrist, and the tips as far again.
    double handLength() const { return 1.6 * hand.radii.z; }
};

// How each of the limbs is painted; a right-hand twin is painted as its left.
struct LimbPainters {
    PaintFunction arm;
    PaintFunction hand;
    PaintFunction leg;
    PaintFunction foot;
};

// An ellipsoid (or, with squareness above 2, a rounded box) round `centre`:
// `radii` are towards `front`, to the side and along `axis`. The fields a
// figure's table of blobs gives in every row come first.
struct BlobShape {
    Vec3 centre;
    Vec3 radii;
    int segments = 0;  // round the axis
    int rings = 0;     // from end to end
    AtlasSize atlas;
    double squareness = 2.0;
    Vec3 axis{0.0, 0.0, 1.0};
    Vec3 front{1.0, 0.0, 0.0};
};

// A tube through `rings` along `axis` from `origin`, carried by the joints
// of `spans`, which blend over `blendWidth`. The fields a figure's table of
// tubes gives in every row come first.
struct TubeShape {
    Vec3 origin;
    Vec3 axis{0.0, 0.0, 1.0};
    std::vector<Ring> rings;
    int segments = 0;
    AtlasSize atlas;
    Vec3 front{1.0, 0.0, 0.0};
    std::vector<JointSpan> spans{};
    double squareness = 2.0;
    double blendWidth = 2.0;
    std::function<double(double angle, double v)> sectionScale{};  // optional radius factor (ribs, dents)
};

// The rest heights of the trunk's joints, which trunk rings are placed by.
struct TrunkHeights {
    double hip;
    double pelvis;
    double spine;
    double chest;
    double neck;

    explicit TrunkHeights(const Skeleton& skeleton);
};

// Builds a figure's parts on its skeleton, each with the function that
// paints it, and places each part's picture on the skin, shelf by shelf from
// the top left.
class FigureBuilder {
public:
    explicit FigureBuilder(const Skeleton& figureSkeleton) : skeleton(figureSkeleton) {}

    // An ellipsoid or rounded box carried by one joint.
    int addBlob(Joint joint, const BlobShape& shape, PaintFunction paint);

    // A tube through explicit rings, carried by the joints of its spans, or
    // all of it by one joint.
    int addTube(const TubeShape& shape, PaintFunction paint);
    int addTube(Joint joint, TubeShape shape, PaintFunction paint);

    // The right-hand twin of a left part: mirrored across the figure's
    // middle, carried by the matching right joints, sharing the left part's
    // picture.
    int addMirroredTwin(int leftPart);

    // The trunk from the crotch to the top of the neck: rings whose `along`
    // is their height, carried by the pelvis, spine, chest and neck in turn.
    int addTrunk(const std::vector<Ring>& rings, AtlasSize atlas, PaintFunction paint, double squareness = 2.0);

    // Both arms, hands, legs and feet on the skeleton.
    void addLimbs(const LimbShapes& shapes, const LimbPainters& painters);

    // Gives the figure the parts' mesh and a painter that paints each spot
    // with the function of the part it lies on.
    void finish(Figure& figure) const;

private:
    // A free rectangle of the skin; the figure fails to build when none is left.
    AtlasRect allocate(int width, int height);
    // A limb from joint `first` through `middle` to the point `end`, each
    // half carried by the joint it starts at, with rounded ends; its picture
    // is centred on the front.
    int addLimb(Joint first, Joint middle, const Vec3& end, const LimbProfile& profile, PaintFunction paint);
    // A hand or foot carried by `joint`.
    int addEnd(Joint joint, const EndShape& shape, const Vec3& centre, const Vec3& axis, const Vec3& front,
               PaintFunction paint);
    int addPart(const BodyPart& part, PaintFunction paint);

    const Skeleton& skeleton;
    CharacterMesh mesh;
    std::vector<PaintFunction> painters;  // one for each part of the mesh
    int shelfX = 2;
    int shelfY = 2;
    int shelfHeight = 0;
};

// A painter of one plain colour.
PaintFunction plainColour(const Colour& colour);

// Rings of an ellipsoid (squareness 2) or superellipsoid of half-length
// `halfLength` along its axis, from one end point to the other.
std::vector<Ring> blobRings(double halfLength, double radiusFront, double radiusSide, int rings, double squareness);

}  // namespace characters
