#include "model/AnimationState.h"

// Frames 0 to 198 in consecutive ranges: first frame, last frame (inclusive),
// frames per second. Which motion a range shows depends on how the model file
// orders its frames.
const AnimationRange animationRanges[ANIMATION_RANGE_COUNT] = {
    {0, 39, 9},     {40, 45, 10},   {46, 53, 10},   {54, 57, 7},    {58, 61, 7},
    {62, 65, 7},    {66, 71, 7},    {72, 83, 7},    {84, 94, 7},    {95, 111, 10},
    {112, 122, 7},  {123, 134, 6},  {135, 153, 10}, {154, 159, 7},  {160, 168, 10},
    {169, 172, 7},  {173, 177, 5},  {178, 183, 7},  {184, 189, 7},  {190, 197, 7},
    {198, 198, 5},
};
