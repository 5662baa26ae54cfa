#include "characters/Choreography.h"

#include <cstdio>

namespace characters {

constexpr std::array<AnimationClip, ANIMATION_CLIP_COUNT> ANIMATION_CLIPS = {{
    {"stand", 40, 2, &Choreography::stand},
    {"run", 6, 1, &Choreography::run},
    {"attack", 8, 1, &Choreography::attack},
    {"pain1", 4, 2, &Choreography::pain, 1},
    {"pain2", 4, 2, &Choreography::pain, 2},
    {"pain3", 4, 2, &Choreography::pain, 3},
    {"jump", 6, 1, &Choreography::jump},
    {"flip", 12, 2, &Choreography::flip},
    {"salute", 11, 2, &Choreography::salute},
    {"taunt", 17, 2, &Choreography::taunt},
    {"wave", 11, 2, &Choreography::wave},
    {"point", 12, 2, &Choreography::point},
    {"crstnd", 19, 2, &Choreography::crouchStand},
    {"crwalk", 6, 1, &Choreography::crouchWalk},
    {"crattak", 9, 1, &Choreography::crouchAttack},
    {"crpain", 4, 1, &Choreography::crouchPain},
    {"crdeath", 5, 1, &Choreography::crouchDeath},
    {"death1", 6, 2, &Choreography::death, 1},
    {"death2", 6, 2, &Choreography::death, 2},
    {"death3", 8, 2, &Choreography::death, 3},
}};

namespace {

constexpr int clipFrameTotal() {
    int total = 0;
    for (const AnimationClip& clip : ANIMATION_CLIPS) {
        total += clip.frameCount;
    }
    return total;
}

// Whether clip after clip covers exactly its row of animationRanges.
constexpr bool clipsFillTheirRanges() {
    int firstFrame = 0;
    for (int i = 0; i < ANIMATION_CLIP_COUNT; ++i) {
        const AnimationRange& range = animationRanges[i];
        if (range.firstFrame != firstFrame || range.lastFrame != firstFrame + ANIMATION_CLIPS[i].frameCount - 1) {
            return false;
        }
        firstFrame += ANIMATION_CLIPS[i].frameCount;
    }
    return true;
}

static_assert(clipFrameTotal() == KEYFRAME_COUNT, "the clips' frame counts must add up to KEYFRAME_COUNT");
static_assert(clipsFillTheirRanges(), "each clip's frames must be exactly its row of animationRanges");

}  // namespace

std::string frameName(const AnimationClip& clip, int index) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%s%0*d", clip.prefix, clip.digits, index + 1);
    return buffer;
}

BodyPose sampleKeys(const std::vector<PoseKey>& keys, double time) {
    if (time <= keys.front().time) {
        return keys.front().pose;
    }
    for (size_t i = 1; i < keys.size(); ++i) {
        if (time <= keys[i].time) {
            double t = (time - keys[i - 1].time) / (keys[i].time - keys[i - 1].time);
            return blendPoses(keys[i - 1].pose, keys[i].pose, easeInOut(t));
        }
    }
    return keys.back().pose;
}

namespace {

// The pose at `frame` among held keys that lead back to the first pose by
// the clip's end, so the clip loops without a jump.
BodyPose roundTrip(const ClipFrame& frame, std::vector<PoseKey> keys) {
    keys.push_back({static_cast<double>(frame.count), keys.front().pose});
    return sampleKeys(keys, frame.index);
}

// Sets an arm by angles.
void swingArm(ArmPose& arm, double forward, double out, double elbow, double twist = 0.0) {
    arm.reach = false;
    arm.forward = forward;
    arm.out = out;
    arm.elbow = elbow;
    arm.twist = twist;
}

// Sets an arm to reach for a wrist position with the elbow towards `pole`.
void reachArm(ArmPose& arm, const Vec3& wrist, const Vec3& pole) {
    arm.reach = true;
    arm.handTarget = wrist;
    arm.elbowPole = pole;
}

}  // namespace

Choreography::Choreography(const Skeleton& figureSkeleton, const MotionStyle& motionStyle,
                           const Landmarks& figureLandmarks)
    : skeleton(figureSkeleton), style(motionStyle), landmarks(figureLandmarks) {}

double Choreography::legLength() const {
    return skeleton.proportions.thighLength + skeleton.proportions.shinLength;
}

Vec3 Choreography::chestRest() const {
    return skeleton.restPosition[CHEST];
}

Vec3 Choreography::wristFor(const Vec3& fingertips, const Vec3& pointing) const {
    return fingertips - normalize(pointing) * landmarks.handLength;
}

BodyPose Choreography::neutral() const {
    BodyPose pose;
    pose.rootShift = {0.0, 0.0, -0.4};
    for (int side = LEFT; side <= RIGHT; ++side) {
        swingArm(pose.arm[side], 3.0, 4.0, 14.0);
    }
    return pose;
}

BodyPose Choreography::crouched(double depth) const {
    BodyPose pose = neutral();
    pose.rootShift = {-0.4 * depth, 0.0, -depth};
    pose.body = {0.0, 2.2 * depth, 0.0};
    pose.spine = {0.0, 1.0 * depth, 0.0};
    pose.head = {0.0, -2.5 * depth, 0.0};
    for (int side = LEFT; side <= RIGHT; ++side) {
        pose.leg[side].kneeOut = 14.0;
        pose.leg[side].footShift = {side == LEFT ? 1.2 : -1.2, 0.0, 0.0};
        swingArm(pose.arm[side], 25.0, 10.0, 55.0);
    }
    return pose;
}

void Choreography::addSecondary(BodyPose& pose, double phase) const {
    for (int i = 0; i < 3; ++i) {
        pose.tail[i].z += style.tailSway * std::sin(phase - 0.9 * i);
        pose.tail[i].y += -0.35 * style.tailSway * std::sin(2.0 * phase - 0.7 * i);
    }
    for (int side = LEFT; side <= RIGHT; ++side) {
        pose.ear[side].y += style.earSwing * std::sin(phase + 1.1 * side);
        pose.ear[side].x += 0.4 * style.earSwing * std::sin(2.0 * phase + 0.5 + side);
    }
}

BodyPose Choreography::swayingRoundTrip(const ClipFrame& frame, const std::vector<PoseKey>& keys) const {
    BodyPose pose = roundTrip(frame, keys);
    addSecondary(pose, TWO_PI * frame.index / frame.count);
    return pose;
}

BodyPose Choreography::stand(const ClipFrame& frame) const {
    const int i = frame.index;
    // One sway and two breaths per loop, every term periodic over the
    // clip, so the last frame leads smoothly into the first.
    double phi = TWO_PI * i / frame.count;
    double breathe = std::sin(2.0 * phi);
    double sway = std::sin(phi);
    double loose = style.looseness;
    BodyPose pose = neutral();
    pose.rootShift = {0.15 * std::sin(2.0 * phi + 0.4) * loose, 0.7 * sway * loose, -0.5 + 0.12 * breathe};
    pose.body = {2.0 * sway * loose, 0.0, 2.0 * std::sin(phi + 0.8) * loose};
    pose.spine = {-1.2 * sway * loose, 1.0 + 0.6 * breathe, 0.0};
    pose.chest = {-0.8 * sway * loose, -1.8 * breathe, -1.5 * std::sin(phi + 0.8) * loose};
    pose.neck = {0.0, 0.6 * breathe, 0.0};
    pose.head = {2.0 * std::sin(phi + 1.3) * loose, 2.5 * std::sin(2.0 * phi + 1.0) * loose,
                 12.0 * std::sin(phi + 0.5) * loose};
    for (int side = LEFT; side <= RIGHT; ++side) {
        double offset = side == LEFT ? 0.0 : 0.9;
        swingArm(pose.arm[side], 3.0 + 3.0 * std::sin(phi + offset) * loose, 5.0 + 1.5 * breathe,
                 15.0 + 5.0 * std::sin(2.0 * phi + offset));
        pose.arm[side].wrist = {0.0, 6.0 * std::sin(phi + offset), 0.0};
    }
    addSecondary(pose, phi);
    return pose;
}

BodyPose Choreography::run(const ClipFrame& frame) const {
    const int i = frame.index;
    // Six keyframes of one stride cycle for the left leg; the right leg is
    // half a cycle behind. Foot places are in leg lengths from the ankle's
    // rest place: contact in front, under the body, push-off, heel kicked
    // up behind, knee driving forward, reaching for the next contact.
    static const double FOOT_FORWARD[6] = {0.50, 0.02, -0.46, -0.36, 0.06, 0.42};
    static const double FOOT_UP[6] = {0.00, 0.00, 0.12, 0.54, 0.42, 0.18};
    static const double TOES_UP[6] = {16.0, 0.0, -30.0, -45.0, -15.0, 8.0};
    static const double PELVIS_DROP[6] = {1.3, 1.8, 0.6, 1.3, 1.8, 0.6};
    static const double AIRBORNE[6] = {0.0, 0.0, 1.8, 0.0, 0.0, 1.8};
    double phi = TWO_PI * i / frame.count;
    double energy = style.energy;
    BodyPose pose = neutral();
    pose.rootShift = {0.0, 0.0, -PELVIS_DROP[i] * style.bounce};
    pose.lift = AIRBORNE[i] * style.bounce;
    pose.body = {2.5 * std::sin(phi) * style.looseness, 12.0 * energy, -8.0 * std::cos(phi) * energy};
    pose.spine = {0.0, 4.0, 4.0 * std::cos(phi) * energy};
    pose.chest = {0.0, 2.0 - 1.5 * std::cos(2.0 * phi), 9.0 * std::cos(phi) * energy};
    pose.head = {0.0, -9.0, -4.0 * std::cos(phi) * energy};
    double legs = legLength();
    for (int side = LEFT; side <= RIGHT; ++side) {
        int q = (i + (side == LEFT ? 0 : frame.count / 2)) % frame.count;
        pose.leg[side].footShift = {FOOT_FORWARD[q] * legs * energy, 0.0, FOOT_UP[q] * legs * energy};
        pose.leg[side].toesUp = TOES_UP[q];
        pose.leg[side].kneeOut = 4.0;
        // Arms swing against the legs: the left arm is back while the left foot lands.
        double swing = (side == LEFT ? -1.0 : 1.0) * std::cos(phi);
        swingArm(pose.arm[side], 8.0 + 48.0 * swing * energy, 9.0, 88.0 + 14.0 * swing, 12.0);
        pose.arm[side].wrist = {0.0, -10.0, 0.0};
    }
    for (int e = LEFT; e <= RIGHT; ++e) {
        pose.ear[e].y += -0.6 * style.earSwing * (1.0 + std::cos(2.0 * phi));
    }
    addSecondary(pose, 2.0 * phi);
    return pose;
}

BodyPose Choreography::jump(const ClipFrame& frame) const {
    const int i = frame.index;
    double legs = legLength();
    double e = style.energy;
    BodyPose crouch = crouched(4.5);
    for (int side = LEFT; side <= RIGHT; ++side) {
        swingArm(crouch.arm[side], -45.0 * e, 12.0, 30.0);
    }
    crouch.body.y = 16.0;

    BodyPose takeOff = neutral();
    takeOff.lift = 5.0 * e;
    takeOff.body.y = 6.0;
    takeOff.spine.y = -4.0;
    takeOff.head.y = -10.0;
    for (int side = LEFT; side <= RIGHT; ++side) {
        swingArm(takeOff.arm[side], 128.0 * e, 22.0, 20.0);
        takeOff.leg[side].toesUp = -40.0;
        takeOff.leg[side].footShift = {-0.05 * legs, 0.0, 0.0};
    }

    BodyPose tuck = neutral();
    tuck.lift = 12.0 * e;
    tuck.rootShift = {0.0, 0.0, -1.0};
    tuck.body.y = 8.0;
    tuck.head.y = -6.0;
    for (int side = LEFT; side <= RIGHT; ++side) {
        swingArm(tuck.arm[side], 60.0, 35.0, 45.0);
        tuck.leg[side].footShift = {-0.10 * legs, 0.0, 0.42 * legs};
        tuck.leg[side].toesUp = -20.0;
        tuck.leg[side].kneeOut = 12.0;
    }
    BodyPose apex = tuck;
    apex.lift = 14.0 * e;
    for (int side = LEFT; side <= RIGHT; ++side) {
        apex.leg[side].footShift = {-0.14 * legs, 0.0, 0.50 * legs};
        swingArm(apex.arm[side], 70.0, 45.0, 40.0);
    }

    BodyPose fall = neutral();
    fall.lift = 6.0 * e;
    fall.body.y = 4.0;
    for (int side = LEFT; side <= RIGHT; ++side) {
        swingArm(fall.arm[side], 50.0, 55.0, 30.0);
        fall.leg[side].footShift = {0.06 * legs, 0.0, 0.12 * legs};
        fall.leg[side].toesUp = -15.0;
    }
    BodyPose land = crouched(5.0);
    for (int side = LEFT; side <= RIGHT; ++side) {
        swingArm(land.arm[side], 45.0, 30.0, 35.0);
    }
    const BodyPose* keys[6] = {&crouch, &takeOff, &tuck, &apex, &fall, &land};
    BodyPose pose = *keys[i];
    addSecondary(pose, TWO_PI * i / frame.count);
    return pose;
}

BodyPose Choreography::salute(const ClipFrame& frame) const {
    const Skeleton& s = skeleton;
    Vec3 restHand = s.restPosition[HAND_RIGHT] + Vec3(0.6, 0.0, 0.4);
    Vec3 elbowBack(-1.0, -0.4, 0.0);

    BodyPose attention = neutral();
    attention.chest.y = -3.0;
    attention.head.y = -2.0;
    swingArm(attention.arm[LEFT], 0.0, 3.0, 6.0);
    reachArm(attention.arm[RIGHT], restHand, elbowBack);

    // Fingers to the right temple, pointing in towards the middle of the brow.
    Vec3 browPointing(0.3, 0.75, 0.35);
    Vec3 browWrist = wristFor(landmarks.browRight, browPointing);
    BodyPose rising = attention;
    Vec3 chestFront = chestRest() + Vec3(6.0, -3.0, 1.5);
    reachArm(rising.arm[RIGHT], chestFront, Vec3(0.2, -1.0, -0.5));

    BodyPose atBrow = attention;
    reachArm(atBrow.arm[RIGHT], browWrist, Vec3(0.1, -1.0, 0.5));
    atBrow.arm[RIGHT].wrist = {-20.0, 0.0, 0.0};
    atBrow.head.y = -4.0;
    atBrow.chest.y = -4.0;

    BodyPose held = atBrow;
    held.head.y = -5.0;
    held.chest.y = -5.0;

    BodyPose snap = attention;
    reachArm(snap.arm[RIGHT], browWrist + Vec3(3.0, -2.5, -1.0), Vec3(0.3, -1.0, -0.1));

    BodyPose lowering = attention;
    reachArm(lowering.arm[RIGHT], lerp(restHand, chestFront, 0.4) + Vec3(2.0, -2.0, 0.0), Vec3(-0.5, -1.0, -0.3));

    const std::vector<PoseKey> keys = {{0.0, attention}, {1.4, rising}, {2.8, atBrow},  {4.0, atBrow},
                                       {7.0, held},      {8.2, snap},   {9.4, lowering}};
    return swayingRoundTrip(frame, keys);
}

BodyPose Choreography::point(const ClipFrame& frame) const {
    BodyPose rest = neutral();
    const Skeleton& s = skeleton;
    Vec3 hipSide = s.restPosition[HIP_LEFT] + Vec3(-0.5, 3.2, 2.2);
    Vec3 restHand = s.restPosition[HAND_LEFT] + Vec3(0.6, 0.0, 0.4);
    reachArm(rest.arm[LEFT], restHand, Vec3(-1.0, 0.4, 0.0));

    BodyPose lifting = rest;
    swingArm(lifting.arm[RIGHT], 45.0, 8.0, 60.0);
    reachArm(lifting.arm[LEFT], lerp(restHand, hipSide, 0.7), Vec3(-0.7, 1.0, 0.0));
    lifting.chest.z = 6.0;

    BodyPose pointing = rest;
    swingArm(pointing.arm[RIGHT], 88.0, 6.0, 3.0, 0.0);
    reachArm(pointing.arm[LEFT], hipSide, Vec3(-0.6, 1.0, 0.2));
    pointing.body.y = 4.0;
    // The right shoulder leads; the head turns back to look ahead.
    pointing.chest = {0.0, 0.0, 12.0};
    pointing.head = {0.0, -4.0, -10.0};
    pointing.leg[RIGHT].footShift = {2.0, 0.0, 0.0};
    pointing.leg[LEFT].footShift = {-1.0, 0.0, 0.0};

    BodyPose jab = pointing;
    swingArm(jab.arm[RIGHT], 94.0, 4.0, 0.0, 0.0);
    jab.body.y = 7.0;
    jab.chest.z = 15.0;
    jab.head.y = -6.0;

    BodyPose returning = rest;
    swingArm(returning.arm[RIGHT], 35.0, 8.0, 40.0);
    reachArm(returning.arm[LEFT], lerp(restHand, hipSide, 0.4), Vec3(-0.8, 1.0, 0.0));

    const std::vector<PoseKey> keys = {{0.0, rest},     {1.3, lifting},  {2.6, pointing}, {4.5, jab},
                                       {6.5, pointing}, {8.0, pointing}, {9.8, returning}};
    return swayingRoundTrip(frame, keys);
}

BodyPose Choreography::wave(const ClipFrame& frame) const {
    const Skeleton& s = skeleton;
    BodyPose rest = neutral();
    Vec3 restHand = s.restPosition[HAND_RIGHT] + Vec3(0.6, 0.0, 0.4);
    reachArm(rest.arm[RIGHT], restHand, Vec3(-1.0, -0.4, 0.0));
    Vec3 shoulder = s.restPosition[SHOULDER_RIGHT];
    double reach = s.upperArmLength() + s.forearmLength();
    Vec3 overhead = shoulder + Vec3(1.5, -0.35 * reach, 0.75 * reach);
    auto waving = [&](double across) {
        BodyPose p = rest;
        reachArm(p.arm[RIGHT], overhead + Vec3(0.0, across, -0.1 * std::fabs(across)), Vec3(0.2, -1.0, -0.6));
        p.head = {-4.0, -3.0, 0.0};
        p.chest.x = -3.0;
        p.body.x = -2.0 - 0.25 * across;
        return p;
    };
    const std::vector<PoseKey> keys = {{0.0, rest},        {2.0, waving(0.0)},  {3.2, waving(3.5)}, {4.4, waving(-3.5)},
                                       {5.6, waving(3.5)}, {6.8, waving(-3.5)}, {8.0, waving(0.0)}};
    return swayingRoundTrip(frame, keys);
}

BodyPose Choreography::taunt(const ClipFrame& frame) const {
    const Skeleton& s = skeleton;
    BodyPose rest = neutral();
    BodyPose onHips = rest;
    for (int side = LEFT; side <= RIGHT; ++side) {
        Vec3 restHand = s.restPosition[onSide(HAND_LEFT, side)] + Vec3(0.6, 0.0, 0.4);
        reachArm(rest.arm[side], restHand, Vec3(-1.0, 0.4 * sideSign(side), 0.0));
        Vec3 hip = s.restPosition[onSide(HIP_LEFT, side)] + Vec3(-0.3, sideSign(side) * 3.2, 2.4);
        reachArm(onHips.arm[side], hip, Vec3(-0.5, sideSign(side), 0.1));
    }
    onHips.chest.y = -4.0;
    auto wiggle = [&](double amount, double laugh) {
        BodyPose p = onHips;
        p.body = {6.0 * amount, 0.0, 8.0 * amount};
        p.chest = {-5.0 * amount, -4.0 - 8.0 * laugh, -6.0 * amount};
        p.spine.y = -6.0 * laugh;
        p.head = {-8.0 * amount, -10.0 * laugh, 10.0 * amount};
        p.rootShift.y = 1.2 * amount;
        return p;
    };
    const std::vector<PoseKey> keys = {{0.0, rest},
                                       {3.0, onHips},
                                       {5.0, wiggle(1.0, 0.0)},
                                       {7.0, wiggle(-1.0, 0.0)},
                                       {9.0, wiggle(1.0, 0.3)},
                                       {11.0, wiggle(0.0, 1.0)},
                                       {13.0, wiggle(0.0, 0.6)}};
    return swayingRoundTrip(frame, keys);
}

BodyPose Choreography::attack(const ClipFrame& frame) const {
    BodyPose guard = neutral();
    guard.leg[LEFT].footShift = {3.0, 0.0, 0.0};
    guard.leg[RIGHT].footShift = {-3.0, 0.0, 0.0};
    guard.rootShift = {0.0, 0.0, -1.5};
    guard.body.z = -10.0;
    for (int side = LEFT; side <= RIGHT; ++side) {
        swingArm(guard.arm[side], 55.0, 12.0, 115.0);
    }
    BodyPose windUp = guard;
    windUp.chest.z = -18.0;
    swingArm(windUp.arm[RIGHT], 5.0, 20.0, 120.0);
    BodyPose strike = guard;
    strike.body = {0.0, 10.0, 8.0};
    strike.chest.z = 22.0;
    strike.rootShift.x = 1.5;
    swingArm(strike.arm[RIGHT], 88.0, 5.0, 2.0);
    swingArm(strike.arm[LEFT], 20.0, 15.0, 120.0);
    return roundTrip(frame, {{0.0, guard}, {2.0, windUp}, {3.5, strike}, {5.0, strike}});
}

BodyPose Choreography::pain(const ClipFrame& frame) const {
    const int variant = frame.variant;
    BodyPose rest = neutral();
    BodyPose hurt = rest;
    if (variant == 1) {
        hurt.spine.y = -16.0;
        hurt.head.y = -18.0;
        hurt.rootShift = {-1.5, 0.0, -1.0};
        for (int side = LEFT; side <= RIGHT; ++side) {
            swingArm(hurt.arm[side], 35.0, 30.0, 45.0);
        }
    } else if (variant == 2) {
        hurt.body.x = 10.0;
        hurt.chest.x = 10.0;
        hurt.head.x = 16.0;
        hurt.rootShift.y = 1.5;
        swingArm(hurt.arm[LEFT], 10.0, 45.0, 30.0);
        swingArm(hurt.arm[RIGHT], 20.0, 10.0, 90.0);
    } else {
        hurt.spine.y = 22.0;
        hurt.chest.y = 10.0;
        hurt.head.y = 5.0;
        hurt.rootShift = {-1.0, 0.0, -2.5};
        for (int side = LEFT; side <= RIGHT; ++side) {
            Vec3 belly = skeleton.restPosition[SPINE] + Vec3(4.5, sideSign(side) * 1.5, 0.0);
            reachArm(hurt.arm[side], belly, Vec3(-0.3, sideSign(side), -0.4));
        }
    }
    return roundTrip(frame, {{0.0, rest}, {1.0, hurt}, {2.0, hurt}});
}

BodyPose Choreography::flip(const ClipFrame& frame) const {
    const int i = frame.index;
    double legs = legLength();
    BodyPose crouch = crouched(4.0);
    BodyPose tucked = neutral();
    tucked.head.y = 12.0;
    for (int side = LEFT; side <= RIGHT; ++side) {
        tucked.leg[side].withBody = true;
        tucked.leg[side].footShift = {-0.05 * legs, 0.0, 0.5 * legs};
        swingArm(tucked.arm[side], 80.0, 20.0, 90.0);
    }
    if (i == 0) {
        return crouch;
    }
    const int landing = frame.count - 2;  // the last two frames land
    if (i >= landing) {
        return i == landing ? crouched(5.0) : crouched(2.0);
    }
    // The frames between turn the tucked body once over forwards, high in the air.
    double turn = (i - 1) / (landing - 2.0);
    BodyPose pose = tucked;
    pose.body.y = 360.0 * turn;
    pose.lift = 16.0 * std::sin(PI * turn) * style.energy + 2.0;
    return pose;
}

BodyPose Choreography::crouchStand(const ClipFrame& frame) const {
    const int i = frame.index;
    double phi = TWO_PI * i / frame.count;
    BodyPose pose = crouched(6.0);
    pose.chest.y += -1.5 * std::sin(2.0 * phi);
    pose.head.z = 14.0 * std::sin(phi) * style.looseness;
    pose.rootShift.z += 0.3 * std::sin(2.0 * phi);
    addSecondary(pose, phi);
    return pose;
}

BodyPose Choreography::crouchWalk(const ClipFrame& frame) const {
    const int i = frame.index;
    double phi = TWO_PI * i / frame.count;
    BodyPose pose = crouched(6.0);
    double legs = legLength();
    for (int side = LEFT; side <= RIGHT; ++side) {
        double q = phi + (side == LEFT ? 0.0 : PI);
        pose.leg[side].footShift = {0.25 * legs * std::cos(q), sideSign(side) * 0.5,
                                    0.12 * legs * std::max(0.0, std::sin(q))};
        swingArm(pose.arm[side], 30.0 - 20.0 * std::cos(q), 12.0, 60.0);
    }
    pose.rootShift.z += -0.5 * std::cos(2.0 * phi);
    addSecondary(pose, phi);
    return pose;
}

BodyPose Choreography::crouchAttack(const ClipFrame& frame) const {
    BodyPose ready = crouched(6.0);
    BodyPose strike = ready;
    swingArm(strike.arm[RIGHT], 85.0, 5.0, 5.0);
    strike.chest.z = 20.0;
    strike.body.y += 6.0;
    BodyPose windUp = ready;
    swingArm(windUp.arm[RIGHT], 0.0, 20.0, 120.0);
    windUp.chest.z = -15.0;
    return roundTrip(frame, {{0.0, ready}, {2.5, windUp}, {4.0, strike}, {6.0, strike}});
}

BodyPose Choreography::crouchPain(const ClipFrame& frame) const {
    BodyPose ready = crouched(6.0);
    BodyPose hurt = ready;
    hurt.spine.y = -10.0;
    hurt.head.y = -25.0;
    for (int side = LEFT; side <= RIGHT; ++side) {
        swingArm(hurt.arm[side], 40.0, 35.0, 40.0);
    }
    return roundTrip(frame, {{0.0, ready}, {1.0, hurt}, {2.0, hurt}});
}

BodyPose Choreography::crouchDeath(const ClipFrame& frame) const {
    const int i = frame.index;
    double legs = legLength();
    BodyPose start = crouched(6.0);
    BodyPose down = start;
    down.body.y = 80.0;
    down.head.y = -30.0;
    for (int side = LEFT; side <= RIGHT; ++side) {
        start.leg[side].withBody = true;
        start.leg[side].footShift = {-0.1 * legs, 0.0, 0.35 * legs};
        down.leg[side].withBody = true;
        down.leg[side].footShift = {-0.2 * legs, 0.0, 0.15 * legs};
        swingArm(down.arm[side], 150.0, 40.0, 20.0);
    }
    const double last = frame.count - 1.0;  // the body lies still from here
    std::vector<PoseKey> keys = {{0.0, start}, {3.0, down}, {last, down}};
    return sampleKeys(keys, i);
}

BodyPose Choreography::death(const ClipFrame& frame) const {
    const int variant = frame.variant;
    const int i = frame.index;
    double legs = legLength();
    BodyPose rest = neutral();
    for (int side = LEFT; side <= RIGHT; ++side) {
        rest.leg[side].withBody = true;
    }
    BodyPose hit = rest;
    BodyPose falling = rest;
    BodyPose lying = rest;
    if (variant == 1) {
        hit.spine.y = -15.0;
        hit.head.y = -20.0;
        falling.body.y = -45.0;
        falling.head.y = -15.0;
        lying.body.y = -90.0;
        lying.head.y = 8.0;
        for (int side = LEFT; side <= RIGHT; ++side) {
            swingArm(hit.arm[side], 30.0, 40.0, 30.0);
            swingArm(falling.arm[side], 70.0, 60.0, 20.0);
            swingArm(lying.arm[side], 100.0, 70.0, 15.0);
            falling.leg[side].footShift = {0.15 * legs, 0.0, 0.25 * legs};
            lying.leg[side].footShift = {0.05 * legs, sideSign(side) * 1.5, 0.05 * legs};
        }
    } else if (variant == 2) {
        hit.spine.y = 20.0;
        hit.head.y = 15.0;
        falling.body.y = 45.0;
        lying.body.y = 88.0;
        lying.head = {0.0, -35.0, 25.0};
        for (int side = LEFT; side <= RIGHT; ++side) {
            swingArm(hit.arm[side], -20.0, 20.0, 20.0);
            swingArm(falling.arm[side], 60.0, 40.0, 40.0);
            swingArm(lying.arm[side], 160.0, 30.0, 10.0);
            falling.leg[side].footShift = {-0.2 * legs, 0.0, 0.2 * legs};
            lying.leg[side].footShift = {-0.05 * legs, sideSign(side) * 1.0, 0.0};
        }
    } else {
        hit.rootShift.z = -3.0;
        hit.body.z = 40.0;
        hit.head.x = 20.0;
        falling.rootShift.z = -9.0;
        falling.body = {40.0, 20.0, 80.0};
        lying.rootShift.z = -9.0;
        lying.body = {88.0, 0.0, 100.0};
        lying.head.x = -10.0;
        for (int side = LEFT; side <= RIGHT; ++side) {
            swingArm(hit.arm[side], 20.0, 30.0, 50.0);
            swingArm(falling.arm[side], 40.0, 50.0, 60.0);
            swingArm(lying.arm[side], 20.0, 90.0, 30.0);
            falling.leg[side].footShift = {0.0, 0.0, 0.3 * legs};
            lying.leg[side].footShift = {0.3 * legs, 0.0, 0.35 * legs};
        }
    }
    const double end = frame.count - 1.0;
    std::vector<PoseKey> keys = {{0.0, hit}, {0.35 * end, falling}, {0.75 * end, lying}, {end, lying}};
    return sampleKeys(keys, i);
}

BodyPose Choreography::framePose(int index) const {
    BodyPose pose = clipPose(index);
    for (Vec3& tailJoint : pose.tail) {
        tailJoint.y += style.tailCurl;
    }
    return pose;
}

BodyPose Choreography::clipPose(int index) const {
    size_t clip = 0;
    while (index >= ANIMATION_CLIPS[clip].frameCount) {
        index -= ANIMATION_CLIPS[clip].frameCount;
        ++clip;
    }
    const AnimationClip& played = ANIMATION_CLIPS[clip];
    return (this->*played.motion)({index, played.frameCount, played.variant});
}

}  // namespace characters
