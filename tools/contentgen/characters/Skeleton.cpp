#include "characters/Skeleton.h"

namespace characters {

Joint parentOf(Joint joint) {
    switch (joint) {
        case PELVIS:
            return static_cast<Joint>(-1);
        case SPINE:
            return PELVIS;
        case CHEST:
            return SPINE;
        case NECK:
            return CHEST;
        case HEAD:
            return NECK;
        case SHOULDER_LEFT:
        case SHOULDER_RIGHT:
            return CHEST;
        case ELBOW_LEFT:
            return SHOULDER_LEFT;
        case ELBOW_RIGHT:
            return SHOULDER_RIGHT;
        case HAND_LEFT:
            return ELBOW_LEFT;
        case HAND_RIGHT:
            return ELBOW_RIGHT;
        case HIP_LEFT:
        case HIP_RIGHT:
            return PELVIS;
        case KNEE_LEFT:
            return HIP_LEFT;
        case KNEE_RIGHT:
            return HIP_RIGHT;
        case FOOT_LEFT:
            return KNEE_LEFT;
        case FOOT_RIGHT:
            return KNEE_RIGHT;
        case TAIL_BASE:
            return PELVIS;
        case TAIL_MIDDLE:
            return TAIL_BASE;
        case TAIL_TIP:
            return TAIL_MIDDLE;
        case EAR_LEFT:
        case EAR_RIGHT:
            return HEAD;
        case JOINT_COUNT:
            break;
    }
    return static_cast<Joint>(-1);
}

Joint mirrorJoint(Joint joint) {
    const Joint twins[][2] = {
        {SHOULDER_LEFT, SHOULDER_RIGHT}, {ELBOW_LEFT, ELBOW_RIGHT}, {HAND_LEFT, HAND_RIGHT}, {HIP_LEFT, HIP_RIGHT},
        {KNEE_LEFT, KNEE_RIGHT},         {FOOT_LEFT, FOOT_RIGHT},   {EAR_LEFT, EAR_RIGHT}};
    for (const auto& twin : twins) {
        if (joint == twin[LEFT]) {
            return twin[RIGHT];
        }
        if (joint == twin[RIGHT]) {
            return twin[LEFT];
        }
    }
    return joint;
}

Skeleton::Skeleton(const Proportions& measures) : proportions(measures) {
    const Proportions& p = measures;
    double ankleZ = GROUND_HEIGHT + p.ankleHeight;
    double kneeZ = ankleZ + p.shinLength;
    double hipZ = kneeZ + p.thighLength;
    double pelvisZ = hipZ + p.pelvisRise;
    double spineZ = pelvisZ + p.spineLength;
    double chestZ = spineZ + p.chestLength;
    double neckZ = chestZ + p.neckBase;
    double shoulderZ = neckZ - p.shoulderDrop;

    restPosition[PELVIS] = {0.0, 0.0, pelvisZ};
    restPosition[SPINE] = {0.0, 0.0, spineZ};
    restPosition[CHEST] = {0.0, 0.0, chestZ};
    restPosition[NECK] = {0.0, 0.0, neckZ};
    restPosition[HEAD] = {0.0, 0.0, neckZ + p.neckLength};
    for (int side = LEFT; side <= RIGHT; ++side) {
        double s = sideSign(side);
        Vec3 shoulder(0.0, s * p.shoulderHalfWidth, shoulderZ);
        Vec3 armDirection(0.0, s * std::sin(radians(p.armSpread)), -std::cos(radians(p.armSpread)));
        restPosition[onSide(SHOULDER_LEFT, side)] = shoulder;
        restPosition[onSide(ELBOW_LEFT, side)] = shoulder + armDirection * p.upperArmLength;
        restPosition[onSide(HAND_LEFT, side)] = shoulder + armDirection * (p.upperArmLength + p.forearmLength);
        restPosition[onSide(HIP_LEFT, side)] = {0.0, s * p.hipHalfWidth, hipZ};
        restPosition[onSide(KNEE_LEFT, side)] = {0.0, s * p.hipHalfWidth, kneeZ};
        restPosition[onSide(FOOT_LEFT, side)] = {0.0, s * p.hipHalfWidth, ankleZ};
        restPosition[onSide(EAR_LEFT, side)] = restPosition[HEAD] + Vec3(0.0, s * p.earHalfWidth, p.earRise);
    }
    // The tail leaves the back of the pelvis and rises gently behind.
    Vec3 tailStart(-2.5, 0.0, pelvisZ - 1.0);
    Vec3 tailStep = Vec3(-0.8, 0.0, 0.25) * (p.tailLength / 3.0);
    restPosition[TAIL_BASE] = tailStart;
    restPosition[TAIL_MIDDLE] = tailStart + tailStep;
    restPosition[TAIL_TIP] = tailStart + tailStep * 2.0;
}

Vec3 Skeleton::restOffsetFromParent(Joint joint) const {
    Joint parent = parentOf(joint);
    return parent < 0 ? restPosition[joint] : restPosition[joint] - restPosition[parent];
}

PosedJoints solveForwardKinematics(const Skeleton& skeleton, const Pose& pose) {
    PosedJoints posed;
    // Joints are numbered so that every parent comes before its children.
    for (int index = 0; index < JOINT_COUNT; ++index) {
        Joint joint = static_cast<Joint>(index);
        Joint parent = parentOf(joint);
        if (parent < 0) {
            posed.position[joint] = skeleton.restPosition[joint] + pose.rootShift;
            posed.rotation[joint] = pose.localRotation[joint];
            continue;
        }
        posed.position[joint] = posed.position[parent] + posed.rotation[parent] * skeleton.restOffsetFromParent(joint);
        posed.rotation[joint] = posed.rotation[parent] * pose.localRotation[joint];
    }
    return posed;
}

}  // namespace characters
