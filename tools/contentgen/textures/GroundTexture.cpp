#include <cmath>

#include "kit/Colour.h"
#include "kit/Noise.h"
#include "textures/TexturePainters.h"

namespace {

constexpr int GROUND_SIZE = 512;
// Stones per tile side; the tile is 200 world units, so a stone is about 33.
constexpr int STONE_CELLS = 6;
constexpr double MORTAR_HALF_WIDTH = 0.045;  // in cells
constexpr double BEVEL_WIDTH = 0.16;         // in cells: how far the stone's rounded edge reaches in

struct StonePoint {
    double x = 0.0;
    double y = 0.0;
    std::int64_t cellX = 0;  // the wrapped cell, naming the stone
    std::int64_t cellY = 0;
};

// One jittered centre per cell, the same for every copy of the tile.
StonePoint stoneCentre(std::int64_t cellX, std::int64_t cellY) {
    const std::int64_t wrappedX = noise::wrapIndex(cellX, STONE_CELLS);
    const std::int64_t wrappedY = noise::wrapIndex(cellY, STONE_CELLS);
    StonePoint point;
    point.x = cellX + 0.2 + 0.6 * noise::cellValue(wrappedX, wrappedY, 11);
    point.y = cellY + 0.2 + 0.6 * noise::cellValue(wrappedX, wrappedY, 12);
    point.cellX = wrappedX;
    point.cellY = wrappedY;
    return point;
}

struct StoneHit {
    StonePoint stone;
    double centreDistance = 0.0;  // from the stone's centre, in cells
    double edgeDistance = 0.0;    // to the nearest border with another stone, in cells
};

// Nearest stone centre and the exact distance to its cell border (the
// bisector with each neighbouring centre), which draws straight mortar lines.
StoneHit nearestStone(double u, double v) {
    const std::int64_t baseX = static_cast<std::int64_t>(std::floor(u));
    const std::int64_t baseY = static_cast<std::int64_t>(std::floor(v));
    StonePoint candidates[25];
    int count = 0;
    for (int dy = -2; dy <= 2; ++dy) {
        for (int dx = -2; dx <= 2; ++dx) {
            candidates[count++] = stoneCentre(baseX + dx, baseY + dy);
        }
    }
    int nearest = 0;
    double nearestSquared = 1e9;
    for (int i = 0; i < count; ++i) {
        const double ex = candidates[i].x - u;
        const double ey = candidates[i].y - v;
        if (ex * ex + ey * ey < nearestSquared) {
            nearestSquared = ex * ex + ey * ey;
            nearest = i;
        }
    }
    StoneHit hit;
    hit.stone = candidates[nearest];
    hit.centreDistance = std::sqrt(nearestSquared);
    hit.edgeDistance = 1e9;
    for (int i = 0; i < count; ++i) {
        if (i == nearest) {
            continue;
        }
        const double nx = candidates[i].x - hit.stone.x;
        const double ny = candidates[i].y - hit.stone.y;
        const double length = std::sqrt(nx * nx + ny * ny);
        const double midX = (candidates[i].x + hit.stone.x) * 0.5;
        const double midY = (candidates[i].y + hit.stone.y) * 0.5;
        const double distance = ((midX - u) * nx + (midY - v) * ny) / length;
        hit.edgeDistance = std::min(hit.edgeDistance, distance);
    }
    return hit;
}

Colour stoneBaseColour(const StonePoint& stone) {
    static const Colour palette[] = {
        {0.60, 0.57, 0.52}, {0.68, 0.60, 0.47}, {0.52, 0.54, 0.56}, {0.62, 0.52, 0.45}, {0.57, 0.55, 0.47}};
    const double pick = noise::cellValue(stone.cellX, stone.cellY, 13);
    const Colour base = palette[static_cast<int>(pick * 5.0) % 5];
    return scaleColour(base, 0.9 + 0.2 * noise::cellValue(stone.cellX, stone.cellY, 14));
}

// Cell coordinates (u, v) with a gentle periodic warp, so stones are not
// perfect polygons.
void warp(double& u, double& v) {
    u += 0.12 * noise::fractal(u, v, STONE_CELLS, STONE_CELLS, 3, 0.5, 21);
    v += 0.12 * noise::fractal(u, v, STONE_CELLS, STONE_CELLS, 3, 0.5, 22);
}

}  // namespace

double GroundRelief::heightAt(int x, int y) const {
    const int wrappedX = static_cast<int>(noise::wrapIndex(x, size));
    const int wrappedY = static_cast<int>(noise::wrapIndex(y, size));
    return height[static_cast<size_t>(wrappedY) * size + wrappedX];
}

GroundRelief paintGround() {
    GroundRelief relief;
    relief.size = GROUND_SIZE;
    relief.height.assign(static_cast<size_t>(GROUND_SIZE) * GROUND_SIZE, 0.0);
    relief.colour = Picture(GROUND_SIZE, GROUND_SIZE);
    const double cellsPerPixel = static_cast<double>(STONE_CELLS) / GROUND_SIZE;
    for (int y = 0; y < GROUND_SIZE; ++y) {
        for (int x = 0; x < GROUND_SIZE; ++x) {
            double u = (x + 0.5) * cellsPerPixel;
            double v = (y + 0.5) * cellsPerPixel;
            warp(u, v);
            const StoneHit hit = nearestStone(u, v);
            // Detail noise repeats with the tile: its periods are whole multiples of STONE_CELLS.
            const double grit = noise::fractal(u * 6.0, v * 6.0, STONE_CELLS * 6, STONE_CELLS * 6, 3, 0.55, 31);
            const double mottling = noise::fractal(u, v, STONE_CELLS, STONE_CELLS, 4, 0.5, 32);
            const double moss = noise::fractal(u * 2.0, v * 2.0, STONE_CELLS * 2, STONE_CELLS * 2, 3, 0.5, 33);

            const double stoneness = smoothstep(MORTAR_HALF_WIDTH, MORTAR_HALF_WIDTH + BEVEL_WIDTH, hit.edgeDistance);
            const double dome = 0.3 * (1.0 - clamp01(hit.centreDistance / 0.7));
            const double stoneHeight = 0.8 * stoneness + dome * stoneness + 0.06 * grit * stoneness;
            const double mortarHeight = 0.04 * (grit * 0.5 + 0.5);
            relief.height[static_cast<size_t>(y) * GROUND_SIZE + x] =
                hit.edgeDistance > MORTAR_HALF_WIDTH ? std::max(stoneHeight, mortarHeight) : mortarHeight;

            Colour stone = scaleColour(stoneBaseColour(hit.stone), 1.0 + 0.12 * mottling + 0.05 * grit);
            // Edges in the stone's own shade: the eye reads the bevel even where the light is flat.
            stone = scaleColour(stone, 0.72 + 0.28 * smoothstep(0.0, 1.0, stoneness));
            const Colour earth = {0.30, 0.25, 0.18};
            const Colour green = {0.24, 0.36, 0.14};
            Colour mortar = mixColour(earth, green, smoothstep(0.0, 0.4, moss));
            mortar = scaleColour(mortar, 1.0 + 0.15 * grit);
            const double stoneCover = smoothstep(MORTAR_HALF_WIDTH - 0.01, MORTAR_HALF_WIDTH + 0.02, hit.edgeDistance);
            putColour(relief.colour, x, y, mixColour(mortar, stone, stoneCover));
        }
    }
    return relief;
}

Picture normalMapFromRelief(const GroundRelief& relief, double reliefDepth) {
    Picture picture(relief.size, relief.size);
    for (int y = 0; y < relief.size; ++y) {
        for (int x = 0; x < relief.size; ++x) {
            // Sobel slopes in height per pixel; the wrap keeps the tile's seam invisible.
            auto h = [&](int dx, int dy) { return relief.heightAt(x + dx, y + dy); };
            const double slopeS =
                ((h(1, -1) + 2.0 * h(1, 0) + h(1, 1)) - (h(-1, -1) + 2.0 * h(-1, 0) + h(-1, 1))) / 8.0;
            const double slopeT =
                ((h(-1, 1) + 2.0 * h(0, 1) + h(1, 1)) - (h(-1, -1) + 2.0 * h(0, -1) + h(1, -1))) / 8.0;
            double nx = -slopeS * reliefDepth;
            double ny = -slopeT * reliefDepth;
            double nz = 1.0;
            const double length = std::sqrt(nx * nx + ny * ny + nz * nz);
            nx /= length;
            ny /= length;
            nz /= length;
            putColour(picture, x, y, {nx * 0.5 + 0.5, ny * 0.5 + 0.5, nz * 0.5 + 0.5});
        }
    }
    return picture;
}
