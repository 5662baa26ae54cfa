#pragma once

#include "scene/Vec4.h"

class Actor;

// The scene's one light, a point light circling horizontally above the scene
// like a sun, with the "sun" model drawn where it is. The timeline moves it
// once per frame (update); the frame hands `position` to GL as light 0's
// position and to the shadow projection, and draws the model unlit.
class SunLight {
public:
    Actor* actor;   // owned: the model drawn at the light, built from "sun"
    Vec4 position;  // world units; w is 1 from the first update on
    Vec4 centre;    // centre of the orbit; w is 1 once set
    float radius;   // of the orbit, world units
    bool enabled;   // the orbit moves only while set

    // Loads the "sun" actor (needs a current GL context for its skin). Starts
    // at the origin with radius 100 and the orbit enabled; position's w is 0
    // until the first update, so nothing may use it as a light before.
    SunLight();
    ~SunLight();

    SunLight(const SunLight&) = delete;
    SunLight& operator=(const SunLight&) = delete;

    void setCentre(float x, float y, float z);
    void setRadius(float radius);

    // Places the light on its orbit at `angle` radians: cosine along x, sine
    // along z, so it starts at centre + (radius, 0, 0) and turns towards +z.
    // The angle is recomputed from the clock every frame, not accumulated.
    void update(float angle);

    // The sun model centred on the light's position, holding one pose
    // (animation time 1). Leaves the modelview matrix as it found it.
    void draw();
};
