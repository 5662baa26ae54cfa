#pragma once

#include "scene/Vec4.h"

// The plane a*x + b*y + c*z + d = 0; its normal is (a, b, c).
struct Plane {
    float a;
    float b;
    float c;
    float d;

    Plane(float a, float b, float c, float d) : a(a), b(b), c(c), d(d) {}

    // Signed plane value of a homogeneous point; with w = 0 the offset d drops out.
    float dot(Vec4 v) const { return a * v.x + b * v.y + c * v.z + d * v.w; }
};
