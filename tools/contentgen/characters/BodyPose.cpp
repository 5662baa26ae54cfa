#include "characters/BodyPose.h"

namespace characters {

namespace {

ArmPose blendArms(const ArmPose& a, const ArmPose& b, double t) {
    ArmPose r;
    // A reaching arm blended with a swinging one reaches for where the
    // swinging hand would be; callers keep both keys of one kind instead.
    r.reach = t < 0.5 ? a.reach : b.reach;
    r.handTarget = lerp(a.handTarget, b.handTarget, t);
    r.elbowPole = lerp(a.elbowPole, b.elbowPole, t);
    r.forward = lerp(a.forward, b.forward, t);
    r.out = lerp(a.out, b.out, t);
    r.twist = lerp(a.twist, b.twist, t);
    r.elbow = lerp(a.elbow, b.elbow, t);
    r.wrist = lerp(a.wrist, b.wrist, t);
    return r;
}

LegPose blendLegs(const LegPose& a, const LegPose& b, double t) {
    LegPose r;
    r.footShift = lerp(a.footShift, b.footShift, t);
    r.withBody = t < 0.5 ? a.withBody : b.withBody;
    r.kneeOut = lerp(a.kneeOut, b.kneeOut, t);
    r.toesUp = lerp(a.toesUp, b.toesUp, t);
    return r;
}

// The rest direction of a limb segment and the axis about which its lower
// half bends by a positive angle towards `bendTowards`.
struct Hinge {
    Vec3 restDirection;
    Vec3 axis;
};

Hinge limbHinge(const Vec3& restDirection, const Vec3& bendTowards) {
    return {restDirection, normalize(cross(restDirection, bendTowards))};
}

struct TwoBoneResult {
    Mat3 upper;
    Mat3 lower;
};

// Turns a straight two-bone limb from `root` so its end reaches `target`
// (clamped to what the bones reach), its middle joint bulging towards
// `pole`. All in the parent's rest frame.
TwoBoneResult reachFor(const Hinge& hinge, const Vec3& root, double upperLength, double lowerLength, const Vec3& target,
                       const Vec3& pole) {
    Vec3 toTarget = target - root;
    double reachMax = (upperLength + lowerLength) * 0.999;
    double reachMin = std::fabs(upperLength - lowerLength) + 0.05 * (upperLength + lowerLength);
    double distance = std::min(reachMax, std::max(reachMin, length(toTarget)));
    Vec3 along = normalize(toTarget);
    Vec3 bulge = pole - along * dot(pole, along);
    if (length(bulge) < 1e-6) {
        bulge = normalize(cross(along, hinge.axis));
    }
    bulge = normalize(bulge);
    double cosine =
        (upperLength * upperLength + distance * distance - lowerLength * lowerLength) / (2.0 * upperLength * distance);
    cosine = std::min(1.0, std::max(-1.0, cosine));
    double sine = std::sqrt(1.0 - cosine * cosine);
    Vec3 middle = root + (along * cosine + bulge * sine) * upperLength;
    Vec3 end = root + along * distance;
    Vec3 upperDirection = normalize(middle - root);
    Vec3 lowerDirection = normalize(end - middle);

    Vec3 bendAxis = cross(upperDirection, lowerDirection);
    double bend = std::atan2(length(bendAxis), dot(upperDirection, lowerDirection)) * (180.0 / PI);
    // A straight limb bends, if at all, away from the pole.
    bendAxis = length(bendAxis) > 1e-6 ? normalize(bendAxis) : normalize(cross(upperDirection, -bulge));
    Vec3 restSide = cross(hinge.restDirection, hinge.axis);
    Vec3 posedSide = cross(upperDirection, bendAxis);
    Mat3 posedFrame = Mat3::fromColumns(upperDirection, bendAxis, posedSide);
    Mat3 restFrame = Mat3::fromColumns(hinge.restDirection, hinge.axis, restSide);
    return {posedFrame * restFrame.transposed(), axisRotation(hinge.axis, bend)};
}

// Places the arm's shoulder and elbow.
void solveArm(const Skeleton& skeleton, const ArmPose& arm, int side, Pose& pose) {
    Joint shoulder = onSide(SHOULDER_LEFT, side);
    Joint elbow = onSide(ELBOW_LEFT, side);
    Vec3 restDirection = normalize(skeleton.restPosition[elbow] - skeleton.restPosition[shoulder]);
    Hinge hinge = limbHinge(restDirection, {1.0, 0.0, 0.0});
    if (arm.reach) {
        TwoBoneResult result = reachFor(hinge, skeleton.restPosition[shoulder], skeleton.upperArmLength(),
                                        skeleton.forearmLength(), arm.handTarget, arm.elbowPole);
        pose.localRotation[shoulder] = result.upper;
        pose.localRotation[elbow] = result.lower;
    } else {
        double s = sideSign(side);
        pose.localRotation[shoulder] = axisRotation({0.0, 1.0, 0.0}, -arm.forward) *
                                       axisRotation({1.0, 0.0, 0.0}, s * arm.out) *
                                       axisRotation(restDirection, s * arm.twist);
        pose.localRotation[elbow] = axisRotation(hinge.axis, arm.elbow);
    }
    pose.localRotation[onSide(HAND_LEFT, side)] = eulerRotation(arm.wrist);
}

// Places the leg's hip and knee, and sets the foot's tilt.
void solveLeg(const Skeleton& skeleton, const BodyPose& body, int side, const PosedJoints& pelvisPlaced, Pose& pose) {
    const LegPose& leg = body.leg[side];
    Joint hip = onSide(HIP_LEFT, side);
    Joint knee = onSide(KNEE_LEFT, side);
    Joint foot = onSide(FOOT_LEFT, side);
    Vec3 restAnkle = skeleton.restPosition[foot];
    Vec3 pelvisRest = skeleton.restPosition[PELVIS];
    // The target in the pelvis' rest frame.
    Vec3 target;
    if (leg.withBody) {
        target = restAnkle + leg.footShift;
    } else {
        Vec3 world = restAnkle + leg.footShift;
        target = pelvisRest + pelvisPlaced.rotation[PELVIS].transposed() * (world - pelvisPlaced.position[PELVIS]);
    }
    double s = sideSign(side);
    Vec3 pole(std::cos(radians(leg.kneeOut)), s * std::sin(radians(leg.kneeOut)), 0.0);
    if (!leg.withBody) {
        // Knees point the way the feet do: forward in the model, whatever the pelvis does.
        Mat3 yaw = axisRotation({0.0, 0.0, 1.0}, body.body.z);
        pole = pelvisPlaced.rotation[PELVIS].transposed() * (yaw * pole);
    }
    Vec3 restDirection = normalize(skeleton.restPosition[knee] - skeleton.restPosition[hip]);
    Hinge hinge = limbHinge(restDirection, {-1.0, 0.0, 0.0});
    double thigh = length(skeleton.restPosition[knee] - skeleton.restPosition[hip]);
    double shin = length(restAnkle - skeleton.restPosition[knee]);
    TwoBoneResult result = reachFor(hinge, skeleton.restPosition[hip], thigh, shin, target, pole);
    pose.localRotation[hip] = result.upper;
    pose.localRotation[knee] = result.lower;

    Mat3 tilt = axisRotation({0.0, 1.0, 0.0}, -leg.toesUp);
    if (leg.withBody) {
        Mat3 shinRotation = result.upper * result.lower;
        pose.localRotation[foot] = shinRotation.transposed() * tilt;
    } else {
        Mat3 shinRotation = pelvisPlaced.rotation[PELVIS] * result.upper * result.lower;
        Mat3 wanted = axisRotation({0.0, 0.0, 1.0}, body.body.z) * tilt;
        pose.localRotation[foot] = shinRotation.transposed() * wanted;
    }
}

}  // namespace

BodyPose blendPoses(const BodyPose& a, const BodyPose& b, double t) {
    BodyPose r;
    r.rootShift = lerp(a.rootShift, b.rootShift, t);
    r.body = lerp(a.body, b.body, t);
    r.spine = lerp(a.spine, b.spine, t);
    r.chest = lerp(a.chest, b.chest, t);
    r.neck = lerp(a.neck, b.neck, t);
    r.head = lerp(a.head, b.head, t);
    for (int side = LEFT; side <= RIGHT; ++side) {
        r.arm[side] = blendArms(a.arm[side], b.arm[side], t);
        r.leg[side] = blendLegs(a.leg[side], b.leg[side], t);
        r.ear[side] = lerp(a.ear[side], b.ear[side], t);
    }
    for (int i = 0; i < 3; ++i) {
        r.tail[i] = lerp(a.tail[i], b.tail[i], t);
    }
    r.lift = lerp(a.lift, b.lift, t);
    return r;
}

Pose solvePose(const Skeleton& skeleton, const BodyPose& body) {
    Pose pose;
    pose.rootShift = body.rootShift;
    pose.localRotation[PELVIS] = eulerRotation(body.body);
    pose.localRotation[SPINE] = eulerRotation(body.spine);
    pose.localRotation[CHEST] = eulerRotation(body.chest);
    pose.localRotation[NECK] = eulerRotation(body.neck);
    pose.localRotation[HEAD] = eulerRotation(body.head);
    pose.localRotation[TAIL_BASE] = eulerRotation(body.tail[0]);
    pose.localRotation[TAIL_MIDDLE] = eulerRotation(body.tail[1]);
    pose.localRotation[TAIL_TIP] = eulerRotation(body.tail[2]);
    PosedJoints pelvisPlaced = solveForwardKinematics(skeleton, pose);
    for (int side = LEFT; side <= RIGHT; ++side) {
        pose.localRotation[onSide(EAR_LEFT, side)] = eulerRotation(body.ear[side]);
        solveArm(skeleton, body.arm[side], side, pose);
        solveLeg(skeleton, body, side, pelvisPlaced, pose);
    }
    return pose;
}

}  // namespace characters
