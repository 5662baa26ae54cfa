#pragma once

#include <functional>
#include <vector>

#include "characters/CharacterMath.h"
#include "characters/Skeleton.h"

namespace characters {

// One cross-section of a body part: where it sits along the part's axis and
// how far it reaches towards the part's front and to its side.
struct Ring {
    double along = 0.0;
    double radiusFront = 0.0;
    double radiusSide = 0.0;
    double shiftFront = 0.0;  // moves the section's centre towards the front (a belly, a chin)
};

// From `startAlong` on (until the next span), `joint` carries the surface.
struct JointSpan {
    double startAlong;
    Joint joint;
};

// A rectangle of the 256 x 256 skin, in pixels, y counted from the top.
struct AtlasRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

// A smooth closed body part: rings of vertices along an axis, closed by a
// point at each end. Around each ring the angle runs from the back (u = 0)
// through the side to the front (u = 0.5) and round to the back again, so
// the skin's picture of a part has its front in the middle. Along the axis,
// v runs from 0 at the first point to 1 at the last, by arc length.
struct BodyPart {
    Vec3 origin;                // the axis' start in the rest pose
    Vec3 axis{0.0, 0.0, 1.0};   // unit
    Vec3 front{1.0, 0.0, 0.0};  // unit, across the axis
    bool mirrored = false;      // the right-hand twin of a left part: its skin picture is the mirror image
    std::vector<Ring> rings;    // the first and last are the end points
    int segments = 8;
    double squareness = 2.0;  // superellipse exponent of the section: 2 round, higher boxier
    std::function<double(double angle, double v)> sectionScale;  // optional radius factor (ribs, dents)
    std::vector<JointSpan> spans;                                // ordered by startAlong; the first one starts the part
    double blendWidth = 2.0;  // length over which neighbouring spans share the surface
    AtlasRect atlas;
    int atlasOwner = -1;  // index of the part whose skin picture this one reuses; -1: its own

    // The surface point at (u, v) in the rest pose.
    Vec3 surfacePoint(double u, double v) const;
    // The same, given the part's ringParameters() already worked out.
    Vec3 surfacePoint(double u, double v, const std::vector<double>& parameters) const;
    // The outward unit normal at (u, v) in the rest pose.
    Vec3 surfaceNormal(double u, double v) const;
    // The normalised arc length of each ring along the profile.
    std::vector<double> ringParameters() const;
    // Which joints carry a point `along` the axis, and how much each.
    void weightsAt(double along, Joint joints[2], double weights[2]) const;
    Vec3 sideAxis() const;
};

}  // namespace characters
