#pragma once

#include <vector>

#include "formats/Picture.h"
#include "kit/Colour.h"

// The world's pictures, each painted procedurally from fixed seeds.

inline void putColour(Picture& picture, int x, int y, const Colour& colour) {
    std::uint8_t* pixel = picture.at(x, y);
    pixel[0] = toByte(colour.r);
    pixel[1] = toByte(colour.g);
    pixel[2] = toByte(colour.b);
    pixel[3] = 255;
}

// 64 x 64 wooden crate: a framed face of planks with a diagonal brace, drawn
// texel by texel because blocks are sampled with nearest filtering.
Picture paintBlock();

// The ground's relief: a height per pixel (0 in the mortar, about 1 on top of
// a stone), row 0 at the bottom, periodic in both directions.
struct GroundRelief {
    int size = 0;
    std::vector<double> height;
    Picture colour{0, 0};

    double heightAt(int x, int y) const;  // wraps x and y, so neighbours across an edge are the tile's other side
};

// 512 x 512 cobblestones that tile seamlessly, with the height field they were painted from.
GroundRelief paintGround();

// Tangent-space normal map of a height field: RGB = n * 0.5 + 0.5 with red
// along +s (increasing x), green along +t (increasing row, i.e. up the loaded
// image) and blue out of the surface. `reliefDepth` is the height of a stone
// in pixels, which sets how steep the slopes are.
Picture normalMapFromRelief(const GroundRelief& relief, double reliefDepth);

// 4096 x 1024 panorama of sky, clouds and hills whose left and right edges meet.
Picture paintBackground();
