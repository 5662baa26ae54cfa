#pragma once

#include <cstdint>

#include "formats/TgaWriter.h"

// A linear RGB colour in [0, 1] per channel while painting; stored to 8 bits
// only when a pixel is written.
struct Colour {
    double r = 0.0;
    double g = 0.0;
    double b = 0.0;
};

inline Colour mixColour(const Colour& a, const Colour& b, double t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

inline Colour scaleColour(const Colour& c, double factor) {
    return {c.r * factor, c.g * factor, c.b * factor};
}

inline std::uint8_t toByte(double channel) {
    const double scaled = channel * 255.0 + 0.5;
    if (scaled <= 0.0) {
        return 0;
    }
    return scaled >= 255.0 ? 255 : static_cast<std::uint8_t>(scaled);
}

inline void putColour(Picture& picture, int x, int y, const Colour& colour) {
    std::uint8_t* pixel = picture.at(x, y);
    pixel[0] = toByte(colour.r);
    pixel[1] = toByte(colour.g);
    pixel[2] = toByte(colour.b);
    pixel[3] = 255;
}
