#pragma once

#include "scene/Plane.h"
#include "scene/Vec4.h"

// A 4x4 matrix laid out as GL takes it: column-major, so the element in row r
// and column c is m[4 * c + r] and a translation sits in m[12], m[13], m[14].
// The object is exactly the 16 floats, handed by address to glMultMatrixf and
// to the shader's uniform upload.
class Matrix4 {
public:
    float m[16];

    // The identity.
    Matrix4();

    // Overwrites the whole matrix with a translation by (x, y, z).
    void loadTranslation(float x, float y, float z);

    // Overwrites the whole matrix with the projection from the point light
    // `light` onto `plane`: D*I - light*plane^T with D = plane.dot(light). A
    // point maps to where the ray from the light through it meets the plane
    // (after the division by w); points on the plane stay where they are.
    // Meaningful only for points between the light and the plane: for the
    // ground plane, a point level with the light gets w = 0 and one above it
    // a negative w.
    void makeShadowMatrix(Plane plane, Vec4 light);

private:
    void loadIdentity();
};

static_assert(sizeof(Matrix4) == 16 * sizeof(float), "Matrix4 must be 16 packed floats for GL");
