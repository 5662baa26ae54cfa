#pragma once

#include <algorithm>

// The scalar helpers every wing of the generator uses. They live once, here,
// because the generated files are compared byte for byte between builds: two
// clamps that differ only for NaN or in the sign of zero would be two
// behaviours.

constexpr double PI = 3.14159265358979323846;
constexpr double TWO_PI = 2.0 * PI;

// `value` limited to [0, 1]; NaN gives 0.
inline double clamp01(double value) {
    return std::min(1.0, std::max(0.0, value));
}

inline double lerp(double a, double b, double t) {
    return a + (b - a) * t;
}

// 0 below `edge0`, 1 above `edge1`, a smooth S-curve between; a step at
// `edge0` when the edges meet.
inline double smoothstep(double edge0, double edge1, double value) {
    if (edge1 == edge0) {
        return value < edge0 ? 0.0 : 1.0;
    }
    const double t = clamp01((value - edge0) / (edge1 - edge0));
    return t * t * (3.0 - 2.0 * t);
}
