#pragma once

#include <cstdint>

#include "ShowFacts.h"

// Playback state of one actor's model: which frame range is in effect, the
// two keyframes being blended and how far between them.
struct AnimationState {
    std::int32_t firstFrame = 0;
    std::int32_t lastFrame = 0;
    std::int32_t framesPerSecond = 0;
    float currentTime = 0.0f;     // animation time of the last animate call, seconds
    float stepTime = 0.0f;        // animation time of the last frame step, seconds
    float blend = 0.0f;           // 0 at currentFrame, 1 at nextFrame
    std::int32_t animation = -1;  // -1 until an animation is selected
    std::int32_t currentFrame = 0;
    std::int32_t nextFrame = 0;
};

// The table of frame ranges the state takes its ranges from,
// animationRanges, is a fact of the whole show: ShowFacts.h.
