#pragma once

// A homogeneous point or direction. Exactly four contiguous floats, so a Vec4
// can be handed to GL wherever it takes four floats (glLightfv GL_POSITION).
// Default construction leaves w at 0: nothing reads it before it is set, and a
// defined value keeps the light position harmless should it ever be.
struct Vec4 {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
    float w = 0.0f;

    Vec4() = default;
    Vec4(float x, float y, float z, float w) : x(x), y(y), z(z), w(w) {}
};

static_assert(sizeof(Vec4) == 4 * sizeof(float), "Vec4 must be four packed floats for GL");
