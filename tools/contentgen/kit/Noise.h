#pragma once

#include <cmath>
#include <cstdint>

#include "kit/Hash.h"
#include "kit/Maths.h"

// Periodic gradient noise and its fractal sums, for pictures that must tile:
// the lattice wraps every `period` cells, so noise(x + period) == noise(x)
// exactly. Everything is integer hashing and double arithmetic, so the same
// binary always paints the same picture.
namespace noise {

inline std::uint64_t hashCell(std::int64_t x, std::int64_t y, std::uint64_t seed) {
    return hashLattice(x, y, 0, seed);
}

// Uniform in [0, 1) for a lattice cell.
inline double cellValue(std::int64_t x, std::int64_t y, std::uint64_t seed) {
    return unitFromHash(hashCell(x, y, seed));
}

inline std::int64_t wrapIndex(std::int64_t index, std::int64_t period) {
    std::int64_t wrapped = index % period;
    return wrapped < 0 ? wrapped + period : wrapped;
}

inline double quinticFade(double t) {
    return t * t * t * (t * (t * 6.0 - 15.0) + 10.0);
}

// 256 unit gradients evenly around the circle, made once.
struct GradientTable {
    double x[256];
    double y[256];
    GradientTable() {
        for (int i = 0; i < 256; ++i) {
            x[i] = std::cos(i * (TWO_PI / 256.0));
            y[i] = std::sin(i * (TWO_PI / 256.0));
        }
    }
};

// Dot product of the cell's pseudo-random unit gradient with the offset (dx, dy).
inline double gradientDot(std::int64_t x, std::int64_t y, std::uint64_t seed, double dx, double dy) {
    static const GradientTable table;
    const unsigned index = static_cast<unsigned>(hashCell(x, y, seed) >> 56);
    return table.x[index] * dx + table.y[index] * dy;
}

// Gradient noise in about [-0.7, 0.7], periodic with `periodX` and `periodY`
// lattice cells (one cell is one unit of x and y).
inline double gradient(double x, double y, int periodX, int periodY, std::uint64_t seed) {
    const double floorX = std::floor(x);
    const double floorY = std::floor(y);
    const double fx = x - floorX;
    const double fy = y - floorY;
    const std::int64_t x0 = wrapIndex(static_cast<std::int64_t>(floorX), periodX);
    const std::int64_t y0 = wrapIndex(static_cast<std::int64_t>(floorY), periodY);
    const std::int64_t x1 = wrapIndex(x0 + 1, periodX);
    const std::int64_t y1 = wrapIndex(y0 + 1, periodY);
    const double n00 = gradientDot(x0, y0, seed, fx, fy);
    const double n10 = gradientDot(x1, y0, seed, fx - 1.0, fy);
    const double n01 = gradientDot(x0, y1, seed, fx, fy - 1.0);
    const double n11 = gradientDot(x1, y1, seed, fx - 1.0, fy - 1.0);
    const double u = quinticFade(fx);
    const double v = quinticFade(fy);
    const double bottom = n00 + (n10 - n00) * u;
    const double top = n01 + (n11 - n01) * u;
    return bottom + (top - bottom) * v;
}

// Fractal sum of `octaves` layers, each twice as fine and `persistence` as
// strong as the one before; every layer keeps the picture's period because the
// periods double with the frequency. Result roughly in [-1, 1].
inline double fractal(double x, double y, int periodX, int periodY, int octaves, double persistence,
                      std::uint64_t seed) {
    double sum = 0.0;
    double amplitude = 1.0;
    double totalAmplitude = 0.0;
    for (int octave = 0; octave < octaves; ++octave) {
        sum += amplitude * gradient(x, y, periodX, periodY, seed + static_cast<std::uint64_t>(octave) * 7919u);
        totalAmplitude += amplitude;
        amplitude *= persistence;
        x *= 2.0;
        y *= 2.0;
        periodX *= 2;
        periodY *= 2;
    }
    return sum / totalAmplitude * 1.4;
}

}  // namespace noise
