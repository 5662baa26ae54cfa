#pragma once

#include <array>
#include <string>
#include <vector>

#include "ShowFacts.h"
#include "characters/BodyPose.h"
#include "characters/Skeleton.h"

namespace characters {

class Choreography;

// Which frame of a clip a motion is asked for: its index within the clip, the
// clip's length and, for motions that several clips share, which of them
// (pain 1 to 3, death 1 to 3; 0 otherwise).
struct ClipFrame {
    int index;
    int count;
    int variant;
};

// A run of keyframes with its conventional name and the motion that poses
// it: the frames are called prefix + number, the number written with
// `digits` digits (stand01, run1, pain101 = "pain1" + "01").
struct AnimationClip {
    const char* prefix;
    int frameCount;
    int digits;
    BodyPose (Choreography::*motion)(const ClipFrame& frame) const;
    int variant = 0;
};

// The runs of a character file, KEYFRAME_COUNT frames in all, in file order:
// the one list of clips, which names the frames, counts them and picks their
// motion. Clip N fills row N of animationRanges; the last row, one frame past
// the file, has no clip. The program counts animations where frame numbers
// drop, which finds 14 here (the pain and death runs each continue their
// predecessor's numbering).
constexpr int ANIMATION_CLIP_COUNT = ANIMATION_RANGE_COUNT - 1;
extern const std::array<AnimationClip, ANIMATION_CLIP_COUNT> ANIMATION_CLIPS;

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

// One key pose at a frame time.
struct PoseKey {
    double time;
    BodyPose pose;
};

// Every frame's pose for one figure.
class Choreography {
public:
    Choreography(const Skeleton& skeleton, const MotionStyle& style, const Landmarks& landmarks);

    // The pose of frame `index` (0 to 197), the lowest point's height above
    // the ground in it given by the pose's `lift`.
    BodyPose framePose(int index) const;

    // The motions; each takes its frame count from its clip.
    BodyPose stand(const ClipFrame& frame) const;
    BodyPose run(const ClipFrame& frame) const;
    BodyPose attack(const ClipFrame& frame) const;
    BodyPose pain(const ClipFrame& frame) const;
    BodyPose jump(const ClipFrame& frame) const;
    BodyPose flip(const ClipFrame& frame) const;
    BodyPose salute(const ClipFrame& frame) const;
    BodyPose taunt(const ClipFrame& frame) const;
    BodyPose wave(const ClipFrame& frame) const;
    BodyPose point(const ClipFrame& frame) const;
    BodyPose crouchStand(const ClipFrame& frame) const;
    BodyPose crouchWalk(const ClipFrame& frame) const;
    BodyPose crouchAttack(const ClipFrame& frame) const;
    BodyPose crouchPain(const ClipFrame& frame) const;
    BodyPose crouchDeath(const ClipFrame& frame) const;
    BodyPose death(const ClipFrame& frame) const;

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
    // A clip through held keys back to its first pose, with one cycle of
    // the secondary motion over its length.
    BodyPose swayingRoundTrip(const ClipFrame& frame, const std::vector<PoseKey>& keys) const;
};

// The pose at `time` between keys sorted by time, eased in and out of each.
BodyPose sampleKeys(const std::vector<PoseKey>& keys, double time);

}  // namespace characters
