#include "model/Md2Model.h"

// Keyframe playback of the attached AnimationState and the blend of its two
// frames.

namespace {

// A frame step wraps a frame the model lacks to frame 0; drawing reads such
// a frame, which a state may hold before its first step, the same way.
std::int32_t frameOrZero(std::int32_t frame, std::int32_t frameCount) {
    return frame >= 0 && frame < frameCount ? frame : 0;
}

}  // namespace

void Md2Model::setAnimation(AnimationState& animationState, std::int32_t number) {
    state = &animationState;
    // A number equal to animationCount is still accepted.
    if (number < 0 || number > animationCount || number > ANIMATION_RANGE_COUNT - 1) {
        number = 0;
    }
    // Selecting the animation in effect does not restart it.
    if (number == animationState.animation) {
        return;
    }
    const AnimationRange& range = animationRanges[number];
    animationState.firstFrame = range.firstFrame;
    animationState.lastFrame = range.lastFrame;
    // The current frame is kept: the new range is blended into from wherever
    // the previous one stood.
    animationState.nextFrame = range.firstFrame + 1;
    animationState.framesPerSecond = range.framesPerSecond;
    animationState.animation = number;
}

void Md2Model::animate(float time) {
    if (state == nullptr) {
        return;
    }
    AnimationState& s = *state;
    s.currentTime = time;
    // Strictly greater, and one step at most however long it has been.
    if (s.currentTime - s.stepTime > 1.0f / float(s.framesPerSecond)) {
        s.currentFrame = s.nextFrame;
        s.nextFrame = s.nextFrame + 1;
        if (s.nextFrame > s.lastFrame) {
            s.nextFrame = s.firstFrame;
        }
        s.stepTime = s.currentTime;
    }
    if (s.currentFrame > frameCount - 1) {
        s.currentFrame = 0;
    }
    if (s.nextFrame > frameCount - 1) {
        s.nextFrame = 0;
    }
    s.blend = (s.currentTime - s.stepTime) * float(s.framesPerSecond);
}

void Md2Model::interpolate(float* positionsOut, float* normalsOut) const {
    if (frameCount == 0) {
        return;
    }
    // A model nobody attached a state to shows its first frame.
    std::int32_t from = frameOrZero(state ? state->currentFrame : 0, frameCount);
    std::int32_t to = frameOrZero(state ? state->nextFrame : 0, frameCount);
    double blend = state ? state->blend : 0.0f;
    double k = scale;
    const std::size_t frameFloats = std::size_t(vertexCount) * 3;
    const float* fromPositions = positions.data() + from * frameFloats;
    const float* toPositions = positions.data() + to * frameFloats;
    const float* fromNormals = normals.data() + from * frameFloats;
    const float* toNormals = normals.data() + to * frameFloats;
    for (std::size_t i = 0; i < frameFloats; ++i) {
        positionsOut[i] = float((fromPositions[i] + (double(toPositions[i]) - fromPositions[i]) * blend) * k);
        // Stored normals point the other way; GL_NORMALIZE renormalises them.
        normalsOut[i] = float(-(fromNormals[i] + (double(toNormals[i]) - fromNormals[i]) * blend) * k);
    }
}
