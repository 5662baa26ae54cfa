#pragma once

#include <array>

#include "ShowFacts.h"
#include "characters/CharacterMath.h"

namespace characters {

// Every figure shares one set of joints; a figure without a tail or movable
// ears simply binds no surface to those joints. A joint's rotation turns the
// body segment that runs from it to its child (the shoulder turns the upper
// arm, the elbow the forearm).
enum Joint : int {
    PELVIS,
    SPINE,
    CHEST,
    NECK,
    HEAD,
    SHOULDER_LEFT,
    ELBOW_LEFT,
    HAND_LEFT,
    SHOULDER_RIGHT,
    ELBOW_RIGHT,
    HAND_RIGHT,
    HIP_LEFT,
    KNEE_LEFT,
    FOOT_LEFT,
    HIP_RIGHT,
    KNEE_RIGHT,
    FOOT_RIGHT,
    TAIL_BASE,
    TAIL_MIDDLE,
    TAIL_TIP,
    EAR_LEFT,
    EAR_RIGHT,
    JOINT_COUNT
};

// Left is side 0, right is side 1; the figure's left is +y.
constexpr int LEFT = 0;
constexpr int RIGHT = 1;
inline double sideSign(int side) {
    return side == LEFT ? 1.0 : -1.0;
}
// The right-hand twin of a left joint and the other way round; a joint of
// the middle is its own mirror.
Joint mirrorJoint(Joint joint);
// A left joint's counterpart on `side`.
inline Joint onSide(Joint leftJoint, int side) {
    return side == LEFT ? leftJoint : mirrorJoint(leftJoint);
}

// The parent of each joint; the pelvis is the root (-1).
Joint parentOf(Joint joint);

// Measures of a figure, in world units. The soles rest at GROUND_HEIGHT in
// the rest pose; the arms hang slightly spread (armSpread degrees from the
// vertical) so that they clear the body.
struct Proportions {
    double ankleHeight = 2.5;   // sole to ankle joint
    double shinLength = 10.0;   // ankle to knee
    double thighLength = 10.0;  // knee to hip
    double hipHalfWidth = 3.0;  // pelvis centre to each hip joint, sideways
    double pelvisRise = 2.0;    // hip joints to the pelvis joint
    double spineLength = 4.0;   // pelvis joint to spine joint
    double chestLength = 5.0;   // spine joint to chest joint
    double neckBase = 6.0;      // chest joint to neck joint
    double neckLength = 2.0;    // neck joint to head joint
    double shoulderHalfWidth = 6.0;
    double shoulderDrop = 1.5;  // neck joint height minus shoulder joint height
    double upperArmLength = 7.5;
    double forearmLength = 7.0;
    double armSpread = 9.0;
    double tailLength = 0.0;    // 0: no tail joints in use
    double earHalfWidth = 0.0;  // head joint to each ear joint, sideways
    double earRise = 0.0;       // head joint to each ear joint, upwards
};

// The generator's axes have z up: the ground lies GROUND_DEPTH below the origin.
constexpr double GROUND_HEIGHT = -static_cast<double>(GROUND_DEPTH);

// A skeleton in its rest pose: each joint's position, with every joint's
// rest rotation the identity, so a joint's local axes are the model's axes.
struct Skeleton {
    std::array<Vec3, JOINT_COUNT> restPosition;
    Proportions proportions;

    explicit Skeleton(const Proportions& measures);

    Vec3 restOffsetFromParent(Joint joint) const;
    double upperArmLength() const { return proportions.upperArmLength; }
    double forearmLength() const { return proportions.forearmLength; }
};

// One posed skeleton: each joint's rotation relative to its parent, and the
// pelvis moved by rootShift from its rest position.
struct Pose {
    std::array<Mat3, JOINT_COUNT> localRotation;
    Vec3 rootShift;
};

// Each joint's placement in the model for a pose: world position and the
// rotation from its rest axes.
struct PosedJoints {
    std::array<Vec3, JOINT_COUNT> position;
    std::array<Mat3, JOINT_COUNT> rotation;

    // Where a point fixed to `joint` in the rest pose ends up.
    Vec3 carry(const Skeleton& skeleton, Joint joint, const Vec3& restPoint) const {
        return position[joint] + rotation[joint] * (restPoint - skeleton.restPosition[joint]);
    }
};

PosedJoints solveForwardKinematics(const Skeleton& skeleton, const Pose& pose);

}  // namespace characters
