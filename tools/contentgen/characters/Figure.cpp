#include "characters/Figure.h"

#include "ShowFacts.h"

namespace characters {

namespace {

// Moves every position up or down so the lowest one is `height`.
void setDown(std::vector<Vec3>& positions, double height) {
    double lowest = positions.front().z;
    for (const Vec3& p : positions) {
        lowest = std::min(lowest, p.z);
    }
    for (Vec3& p : positions) {
        p.z += height - lowest;
    }
}

}  // namespace

std::vector<Md2Frame> animateFigure(const Figure& figure) {
    Choreography choreography(figure.skeleton, figure.style, figure.landmarks);
    std::vector<Md2Frame> frames;
    int index = 0;
    for (const AnimationClip& clip : ANIMATION_CLIPS) {
        for (int i = 0; i < clip.frameCount; ++i, ++index) {
            BodyPose body = choreography.framePose(index);
            Pose pose = solvePose(figure.skeleton, body);
            PosedJoints posed = solveForwardKinematics(figure.skeleton, pose);
            Md2Frame frame;
            frame.name = frameName(clip, i);
            frame.positions = figure.mesh.pose(figure.skeleton, posed);
            setDown(frame.positions, GROUND_HEIGHT + body.lift);
            frames.push_back(frame);
        }
    }
    return frames;
}

std::vector<std::uint8_t> figureModelBytes(const Figure& figure, const std::vector<Md2Frame>& frames) {
    Md2Content content;
    content.frames = frames;
    content.primitives = figure.mesh.primitives;
    content.skinPath = characterSkinPath(figure.name);
    return encodeMd2(content);
}

Picture figureSkin(const Figure& figure) {
    return paintSkin(figure.mesh, figure.paint, figure.skinBackground);
}

FaceAngles faceAngles(const Vec3& normal) {
    Vec3 n = normalize(normal);
    return {std::atan2(n.y, n.x), std::asin(std::max(-1.0, std::min(1.0, n.z)))};
}

double ellipseDistance(double x, double y, double cx, double cy, double rx, double ry) {
    double dx = (x - cx) / rx;
    double dy = (y - cy) / ry;
    return std::sqrt(dx * dx + dy * dy);
}

}  // namespace characters
