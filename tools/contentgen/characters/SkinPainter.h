#pragma once

#include <cstdint>
#include <functional>

#include "characters/CharacterMesh.h"
#include "formats/Picture.h"
#include "kit/Colour.h"

namespace characters {

// Smooth value noise in [0, 1] over 3D space, the same on every machine.
double valueNoise(const Vec3& p, std::uint64_t seed);

// Four octaves of value noise, in [0, 1].
double fractalNoise(const Vec3& p, std::uint64_t seed);

// Where the skin's picture of a part shows a point: the part's index in the
// mesh, the rest-pose surface point and outward normal there, and the skin
// coordinates (u round the part from the back through the front, v along it).
struct PaintSpot {
    int partIndex;
    Vec3 position;
    Vec3 normal;
    double u;
    double v;
};

using PaintFunction = std::function<Colour(const PaintSpot&)>;

// Paints every part's picture on a 256 x 256 skin by asking `paint` for the
// colour of each texel's surface point, with a little soft light from above
// baked in. Each picture bleeds two texels past its edges so that filtering
// never reaches the `background`.
Picture paintSkin(const CharacterMesh& mesh, const PaintFunction& paint, const Colour& background);

}  // namespace characters
