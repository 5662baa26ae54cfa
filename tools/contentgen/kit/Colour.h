#pragma once

#include <cstdint>

#include "kit/Maths.h"

// A linear RGB colour in [0, 1] per channel while painting; stored to 8 bits
// only when a pixel is written.
struct Colour {
    double r = 0.0;
    double g = 0.0;
    double b = 0.0;
};

// 0xRRGGBB as a colour.
inline Colour hexColour(std::uint32_t hex) {
    return {((hex >> 16) & 0xFF) / 255.0, ((hex >> 8) & 0xFF) / 255.0, (hex & 0xFF) / 255.0};
}

// From `a` at t = 0 to `b` at t = 1; t is clamped to that range.
inline Colour mixColour(const Colour& a, const Colour& b, double t) {
    t = clamp01(t);
    return {lerp(a.r, b.r, t), lerp(a.g, b.g, t), lerp(a.b, b.b, t)};
}

inline Colour scaleColour(const Colour& c, double factor) {
    return {c.r * factor, c.g * factor, c.b * factor};
}

// A channel in [0, 1] to 8 bits, rounded to nearest; out of range saturates.
inline std::uint8_t toByte(double channel) {
    const double scaled = channel * 255.0 + 0.5;
    if (scaled <= 0.0) {
        return 0;
    }
    return scaled >= 255.0 ? 255 : static_cast<std::uint8_t>(scaled);
}
