#pragma once

#include <string>
#include <vector>

#include "characters/BodyPose.h"
#include "characters/Skeleton.h"

namespace characters {

// A run of keyframes with its conventional name: the frames are called
// prefix + number, the number written with `digits` digits (stand01, run1,
// pain101 = "pain1" + "01").
struct AnimationClip {
    const char* prefix;
    int frameCount;
    int digits;
};

// The 20 runs of a character file, 198 frames in all, in file order. The
// program counts animations where frame numbers drop, which finds 14 here
// (the pain and death runs each continue their predecessor's numbering).
extern const std::vector<AnimationClip> ANIMATION_CLIPS;

std::string frameName(const AnimationClip& clip, int index);

// How a figure moves, beyond its proportions.
struct MotionStyle {
    double energy = 1.0;     // scales the big gestures
    double bounce = 1.0;     // scales vertical bobbing
    double looseness = 1.0;  // scales secondary motion (sway, head, tail, ears)
    double tailSway = 0.0;   // degrees of tail swing
    double earSwing = 0.0;   // degrees of ear swing
    double tailCurl = 0.0;   // degrees each tail joint bends upwards at rest
};

// Points of the rest figure that gestures aim for, in the model's axes.
struct Landmarks {
    Vec3 browRight;           // where the right hand's fingertips touch in a salute
    double handLength = 3.0;  // wrist to fingertips
};

// Every frame's pose for one figure.
class Choreography {
public:
    Choreography(const Skeleton& skeleton, const MotionStyle& style, const Landmarks& landmarks);

    // The pose of frame `index` (0 to 197), the lowest point's height above
    // the ground in it given by the pose's `lift`.
    BodyPose framePose(int index) const;

    BodyPose stand(int i) const;
    BodyPose run(int i) const;
    BodyPose attack(int i) const;
    BodyPose pain(int variant, int i) const;
    BodyPose jump(int i) const;
    BodyPose flip(int i) const;
    BodyPose salute(int i) const;
    BodyPose taunt(int i) const;
    BodyPose wave(int i) const;
    BodyPose point(int i) const;
    BodyPose crouchStand(int i) const;
    BodyPose crouchWalk(int i) const;
    BodyPose crouchAttack(int i) const;
    BodyPose crouchPain(int i) const;
    BodyPose crouchDeath(int i) const;
    BodyPose death(int variant, int i) const;

private:
    const Skeleton& skeleton;
    MotionStyle style;
    Landmarks landmarks;

    BodyPose clipPose(int index) const;
    BodyPose neutral() const;
    BodyPose crouched(double depth) const;
    double legLength() const;
    Vec3 chestRest() const;
    Vec3 wristFor(const Vec3& fingertips, const Vec3& pointing) const;
    void addSecondary(BodyPose& pose, double phase) const;
};

// One key pose at a frame time.
struct PoseKey {
    double time;
    BodyPose pose;
};

// The pose at `time` between keys sorted by time, eased in and out of each.
BodyPose sampleKeys(const std::vector<PoseKey>& keys, double time);

}  // namespace characters
