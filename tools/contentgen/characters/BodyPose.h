#pragma once

#include "characters/CharacterMath.h"
#include "characters/Skeleton.h"

namespace characters {

// How one arm is held. Either the hand reaches for a point (`reach`), with
// the elbow pushed towards `elbowPole`, both in the chest's rest frame; or
// the arm is set by angles: the upper arm swung `forward` (negative: back)
// and raised `out` sideways, turned `twist` about itself, and the forearm
// bent `elbow` degrees.
struct ArmPose {
    bool reach = false;
    Vec3 handTarget;
    Vec3 elbowPole{-1.0, 0.0, 0.0};
    double forward = 0.0;
    double out = 0.0;
    double twist = 0.0;
    double elbow = 10.0;
    Vec3 wrist;  // the hand's own turn (roll, pitch, yaw)
};

// How one leg is held: the ankle moved by `footShift` from where it rests,
// counted in the model's frame (a foot on the ground stays put while the
// body moves), or in the pelvis' frame when `withBody` is set (flips, falls).
// The knee points forward, turned `kneeOut` degrees outwards; the sole is
// tilted `toesUp` degrees.
struct LegPose {
    Vec3 footShift;
    bool withBody = false;
    double kneeOut = 6.0;
    double toesUp = 0.0;
};

// A whole pose in readable terms. Every field blends linearly, so key poses
// can be mixed.
struct BodyPose {
    Vec3 rootShift;  // the pelvis moved from its rest place
    Vec3 body;       // the whole figure turned about the pelvis
    Vec3 spine;
    Vec3 chest;
    Vec3 neck;
    Vec3 head;
    ArmPose arm[2];
    LegPose leg[2];
    Vec3 tail[3];
    Vec3 ear[2];
    double lift = 0.0;  // the lowest point's height above the ground
};

BodyPose blendPoses(const BodyPose& a, const BodyPose& b, double t);

// Joint rotations for a pose: forward kinematics for the trunk and angles,
// two-bone reaching for hands and feet.
Pose solvePose(const Skeleton& skeleton, const BodyPose& body);

}  // namespace characters
