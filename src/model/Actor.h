#pragma once

#include <cstdint>

#include "model/AnimationState.h"
#include "model/Md2Model.h"

// One animated character standing on the ground plane (height 0): its own
// model and skin, the playback state its model plays, a place and a facing.
// The timeline writes x, z, facing and visible directly; the scene passes
// draw the actor only while `visible` is set.
class Actor {
public:
    // Loads the model and the skin the name picks (characterModelPath,
    // characterSkinPath) from the working directory; needs a current GL
    // context for the skin.
    explicit Actor(const char* name);
    ~Actor();

    Actor(const Actor&) = delete;
    Actor& operator=(const Actor&) = delete;

    // Records `number` and selects it on the model at once; a number the
    // model refuses plays animation 0 while requestedAnimation keeps it.
    void setAnimation(std::int32_t number);

    // Draw at (x, 0, z), turned by facing, for animation time `time` in
    // seconds; the shadow variant sends no texture coordinates or colour.
    void draw(float time);
    void drawShadow(float time);

    AnimationState animationState;
    std::int32_t requestedAnimation = 0;  // re-applied on every draw
    Md2Model* model = nullptr;            // owned
    bool visible = false;
    float x = 0.0f;
    float z = 0.0f;
    // 1 (or anything but -1 and 0): unturned, a model's +x front looks along
    // +x; -1 looks along -x; 0 looks along +z.
    std::int32_t facing = 1;

private:
    void placeAndSelect();
};
