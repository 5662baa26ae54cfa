#pragma once

#include <algorithm>
#include <cmath>

#include "kit/Maths.h"
#include "kit/Vec3.h"

// Rotations and easing for building the characters. Everything is
// in the model file's axes: x forward, y to the figure's left, z up; one unit
// is one world unit of the show. Angles are in degrees unless a name says
// otherwise. Kept in a namespace of its own because the generator links the
// picture and sound generators into the same program.
namespace characters {

// The kit's scalar lerp, visible beside the Vec3 overload below.
using ::lerp;

inline double radians(double degrees) {
    return degrees * (PI / 180.0);
}

// Eases 0..1 in and out, for moving between held poses.
inline double easeInOut(double t) {
    return 0.5 - 0.5 * std::cos(PI * clamp01(t));
}

inline Vec3 lerp(const Vec3& a, const Vec3& b, double t) {
    return a + (b - a) * t;
}

// A 3x3 rotation; columns are the images of the x, y and z axes.
struct Mat3 {
    double m[3][3] = {{1.0, 0.0, 0.0}, {0.0, 1.0, 0.0}, {0.0, 0.0, 1.0}};

    static Mat3 fromColumns(const Vec3& c0, const Vec3& c1, const Vec3& c2) {
        Mat3 r;
        const Vec3 columns[3] = {c0, c1, c2};
        for (int c = 0; c < 3; ++c) {
            r.m[0][c] = columns[c].x;
            r.m[1][c] = columns[c].y;
            r.m[2][c] = columns[c].z;
        }
        return r;
    }

    Vec3 operator*(const Vec3& v) const {
        return {m[0][0] * v.x + m[0][1] * v.y + m[0][2] * v.z, m[1][0] * v.x + m[1][1] * v.y + m[1][2] * v.z,
                m[2][0] * v.x + m[2][1] * v.y + m[2][2] * v.z};
    }

    Mat3 operator*(const Mat3& o) const {
        Mat3 r;
        for (int i = 0; i < 3; ++i) {
            for (int j = 0; j < 3; ++j) {
                r.m[i][j] = m[i][0] * o.m[0][j] + m[i][1] * o.m[1][j] + m[i][2] * o.m[2][j];
            }
        }
        return r;
    }

    Mat3 transposed() const {
        Mat3 r;
        for (int i = 0; i < 3; ++i) {
            for (int j = 0; j < 3; ++j) {
                r.m[i][j] = m[j][i];
            }
        }
        return r;
    }
};

// Rotation by `degrees` about a unit axis, right-handed.
inline Mat3 axisRotation(const Vec3& axis, double degrees) {
    Vec3 a = normalize(axis);
    double c = std::cos(radians(degrees));
    double s = std::sin(radians(degrees));
    double t = 1.0 - c;
    Mat3 r;
    r.m[0][0] = t * a.x * a.x + c;
    r.m[0][1] = t * a.x * a.y - s * a.z;
    r.m[0][2] = t * a.x * a.z + s * a.y;
    r.m[1][0] = t * a.x * a.y + s * a.z;
    r.m[1][1] = t * a.y * a.y + c;
    r.m[1][2] = t * a.y * a.z - s * a.x;
    r.m[2][0] = t * a.x * a.z - s * a.y;
    r.m[2][1] = t * a.y * a.z + s * a.x;
    r.m[2][2] = t * a.z * a.z + c;
    return r;
}

// Angles as (roll about x, pitch about y, yaw about z). Positive pitch tips
// an upright body forward, positive roll tips it to its right, positive yaw
// turns it to its left. Applied roll first, then pitch, then yaw.
inline Mat3 eulerRotation(const Vec3& angles) {
    return axisRotation({0.0, 0.0, 1.0}, angles.z) * axisRotation({0.0, 1.0, 0.0}, angles.y) *
           axisRotation({1.0, 0.0, 0.0}, angles.x);
}

}  // namespace characters
