#include <cmath>
#include <vector>

#include "kit/Colour.h"
#include "kit/Noise.h"
#include "textures/TexturePainters.h"

namespace {

// A 0.3-wide band fills an 800-pixel-wide window: 0.3 * 4096 = 1229 texels,
// so the band is never magnified. The band spans the window's full height.
constexpr int BACKGROUND_WIDTH = 4096;
constexpr int BACKGROUND_HEIGHT = 1024;
constexpr int CLOUD_COUNT = 13;

// Horizontal distance on the panorama's circle, so that every shape that
// crosses the right edge continues at the left edge.
double wrappedDistance(double a, double b) {
    double distance = std::fabs(a - b);
    distance = std::fmod(distance, static_cast<double>(BACKGROUND_WIDTH));
    return std::min(distance, BACKGROUND_WIDTH - distance);
}

// Every horizontal feature is built from noise whose period is a whole number
// of lattice cells across the picture, so column 0 continues column W-1.
double ridgeNoise(int x, int cellsAcross, double persistence, std::uint64_t seed) {
    const double u = static_cast<double>(x) / BACKGROUND_WIDTH * cellsAcross;
    return noise::fractal(u, 0.5, cellsAcross, 1, 6, persistence, seed);
}

// With the demo's fixed camera the ground's far edge crosses the window at
// about t = 0.645 of this picture's height, and everything below it is hidden
// behind the ground. The hills stand on a horizon just under that line, and
// the sky and clouds fill the band above it.
constexpr double HORIZON = 0.62;

// Heights of the three hill layers (fractions of the picture's height), far to near.
double farRidge(int x) {
    return HORIZON + 0.11 + 0.22 * ridgeNoise(x, 7, 0.55, 401);
}
double middleRidge(int x) {
    return HORIZON + 0.07 + 0.17 * ridgeNoise(x, 5, 0.45, 402);
}
double nearRidge(int x) {
    return HORIZON + 0.045 + 0.1 * ridgeNoise(x, 4, 0.4, 403);
}

// Round crowns of trees standing on a ridge, in groves along the panorama:
// extra height in pixels above the ridge line.
double treeCrowns(int x, int groveCount, double size, std::uint64_t seed) {
    double crown = 0.0;
    for (int grove = 0; grove < groveCount; ++grove) {
        const double groveCentre = (grove + noise::cellValue(grove, 0, seed)) * BACKGROUND_WIDTH / groveCount;
        const int trees = 2 + static_cast<int>(noise::cellValue(grove, 1, seed) * 6.0);
        for (int tree = 0; tree < trees; ++tree) {
            const double radius = size * (0.6 + 0.6 * noise::cellValue(grove, 10 + tree, seed));
            const double centre = groveCentre + (tree - trees * 0.5) * size * 1.3;
            const double distance = wrappedDistance(x, centre);
            if (distance < radius) {
                const double lift = 0.7 * radius + std::sqrt(radius * radius - distance * distance);
                crown = std::max(crown, lift);
            }
        }
    }
    return crown;
}

Colour skyColour(double t) {
    const Colour horizon = {0.88, 0.91, 0.88};
    const Colour zenith = {0.20, 0.46, 0.86};
    return mixColour(horizon, zenith, std::pow(smoothstep(HORIZON, 1.0, t), 0.75));
}

// Puffy cartoon clouds: clusters of soft discs on a flat base. For each sky
// pixel the painter keeps the cloud's cover and how much it is lit.
struct CloudLayer {
    std::vector<float> cover;
    std::vector<float> light;

    CloudLayer()
        : cover(static_cast<size_t>(BACKGROUND_WIDTH) * BACKGROUND_HEIGHT, 0.0f),
          light(static_cast<size_t>(BACKGROUND_WIDTH) * BACKGROUND_HEIGHT, 0.0f) {}
};

// Adds one disc of a cloud: soft-edged (the rim frayed by noise), cut off
// below the cloud's base, lit from the upper left.
void addPuff(CloudLayer& clouds, double centreX, double centreY, double radius, double baseY) {
    const int top = std::min(BACKGROUND_HEIGHT - 1, static_cast<int>(centreY + radius + 2));
    const int bottom = std::max(0, static_cast<int>(baseY - 4));
    for (int y = bottom; y <= top; ++y) {
        for (int dx = -static_cast<int>(radius) - 2; dx <= static_cast<int>(radius) + 2; ++dx) {
            const int x = static_cast<int>(
                noise::wrapIndex(static_cast<std::int64_t>(std::floor(centreX)) + dx, BACKGROUND_WIDTH));
            const double offsetX = std::floor(centreX) + dx - centreX;
            const double offsetY = y - centreY;
            const double fray =
                0.09 * radius * noise::fractal(x / 32.0, y / 32.0, BACKGROUND_WIDTH / 32, 64, 3, 0.5, 430);
            const double distance = std::sqrt(offsetX * offsetX + offsetY * offsetY) + fray;
            double cover = clamp01((radius - distance) / 3.0);
            cover *= smoothstep(baseY - 3.0, baseY + 5.0, y);
            if (cover <= 0.0) {
                continue;
            }
            const double normalX = offsetX / radius;
            const double normalY = offsetY / radius;
            const double sunward = clamp01(0.55 + 0.5 * normalY - 0.25 * normalX);
            const double aboveBase = smoothstep(0.0, 40.0, y - baseY);
            const double lit = sunward * (0.45 + 0.55 * aboveBase);
            const size_t index = static_cast<size_t>(y) * BACKGROUND_WIDTH + x;
            // The disc in front (painted later) shows its own shading.
            clouds.light[index] = static_cast<float>(lerp(clouds.light[index], lit, cover));
            clouds.cover[index] = static_cast<float>(std::max<double>(clouds.cover[index], cover));
        }
    }
}

CloudLayer paintClouds() {
    CloudLayer clouds;
    for (int cloud = 0; cloud < CLOUD_COUNT; ++cloud) {
        const double centreX = (cloud + noise::cellValue(cloud, 0, 420)) * BACKGROUND_WIDTH / CLOUD_COUNT;
        const double baseY = BACKGROUND_HEIGHT * (0.79 + 0.05 * noise::cellValue(cloud, 1, 420));
        const double width = 110.0 + 150.0 * noise::cellValue(cloud, 2, 420);
        const int puffs = 4 + static_cast<int>(width / 35.0);
        for (int puff = 0; puff < puffs; ++puff) {
            const double along = (noise::cellValue(cloud, 10 + puff, 421) - 0.5) * width;
            // Puffs in the middle of the cloud are bigger, so it bulges upwards.
            const double middleness = 1.0 - std::fabs(along) / (0.5 * width);
            const double radius =
                (0.12 + 0.16 * middleness) * width * (0.7 + 0.5 * noise::cellValue(cloud, 40 + puff, 421));
            const double lift = radius * (0.2 + 0.6 * middleness * noise::cellValue(cloud, 70 + puff, 421));
            addPuff(clouds, centreX + along, baseY + lift, radius, baseY);
        }
    }
    return clouds;
}

// Soft painted strokes: slanted noise that varies a layer's colour a little.
double brushStrokes(int x, int y, std::uint64_t seed) {
    const double u = (x + 0.4 * y) / BACKGROUND_WIDTH * 64.0;
    const double v = y / 9.0;
    return noise::fractal(u, v, 64, 4096, 3, 0.5, seed);
}

// Large lighter and darker patches on the meadows.
double meadowPatches(int x, int y) {
    const double u = static_cast<double>(x) / BACKGROUND_WIDTH * 24.0;
    return noise::fractal(u, y / 60.0, 24, 64, 3, 0.5, 440);
}

// Paints a hill layer over `colour` where the pixel lies below `ridge`
// (in pixels), with a one-pixel soft edge.
void paintLayer(Colour& colour, double y, double ridge, const Colour& top, const Colour& foot, double depthBelow) {
    const double coverage = clamp01(ridge - y + 0.5);
    if (coverage <= 0.0) {
        return;
    }
    const Colour layer = mixColour(top, foot, clamp01((ridge - y) / depthBelow));
    colour = mixColour(colour, layer, coverage);
}

}  // namespace

Picture paintBackground() {
    Picture picture(BACKGROUND_WIDTH, BACKGROUND_HEIGHT);
    const CloudLayer clouds = paintClouds();
    const double h = BACKGROUND_HEIGHT;
    const Colour cloudShade = {0.64, 0.69, 0.80};
    const Colour cloudLight = {1.0, 0.99, 0.95};
    for (int x = 0; x < BACKGROUND_WIDTH; ++x) {
        const double far = farRidge(x) * h;
        const double middle = middleRidge(x) * h;
        const double middleTrees = middle + treeCrowns(x, 17, 7.0, 405);
        const double nearLine = nearRidge(x) * h;
        const double nearTrees = nearLine + treeCrowns(x, 9, 16.0, 404);
        for (int y = 0; y < BACKGROUND_HEIGHT; ++y) {
            const size_t index = static_cast<size_t>(y) * BACKGROUND_WIDTH + x;
            Colour colour = skyColour(y / h);
            if (clouds.cover[index] > 0.0f) {
                colour = mixColour(colour, mixColour(cloudShade, cloudLight, clouds.light[index]), clouds.cover[index]);
            }
            // Farther layers are hazier: closer to the sky's colour, lower in contrast.
            paintLayer(colour, y, far, {0.60, 0.67, 0.80}, {0.72, 0.78, 0.83}, 0.10 * h);
            paintLayer(colour, y, middleTrees, {0.30, 0.47, 0.40}, {0.34, 0.50, 0.44}, 16.0);
            paintLayer(colour, y, middle, {0.44, 0.61, 0.50}, {0.56, 0.69, 0.60}, 0.12 * h);
            paintLayer(colour, y, nearTrees, {0.16, 0.34, 0.16}, {0.21, 0.40, 0.19}, 30.0);
            if (y < nearLine + 1.0) {
                const double patch = 1.0 + 0.08 * meadowPatches(x, y);
                paintLayer(colour, y, nearLine, scaleColour({0.46, 0.68, 0.27}, patch),
                           scaleColour({0.30, 0.52, 0.19}, patch), 0.3 * h);
            }
            putColour(picture, x, y, scaleColour(colour, 1.0 + 0.03 * brushStrokes(x, y, 450)));
        }
    }
    return picture;
}
