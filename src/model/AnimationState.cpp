#include "model/AnimationState.h"

// Frames 0 to 198 in consecutive ranges: first frame, last frame (inclusive),
// frames per second. Which motion a range shows depends on how the model file
// orders its frames.
const AnimationRange animationRanges[ANIMATION_RANGE_COUNT] = {
    {0, 39, 9},      // 0
    {40, 45, 10},    // 1
    {46, 53, 10},    // 2
    {54, 57, 7},     // 3
    {58, 61, 7},     // 4
    {62, 65, 7},     // 5
    {66, 71, 7},     // 6
    {72, 83, 7},     // 7
    {84, 94, 7},     // 8
    {95, 111, 10},   // 9
    {112, 122, 7},   // 10
    {123, 134, 6},   // 11
    {135, 153, 10},  // 12
    {154, 159, 7},   // 13
    {160, 168, 10},  // 14
    {169, 172, 7},   // 15
    {173, 177, 5},   // 16
    {178, 183, 7},   // 17
    {184, 189, 7},   // 18
    {190, 197, 7},   // 19
    {198, 198, 5},   // 20
};
