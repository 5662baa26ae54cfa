// The sun: a ball of radius 12 round the model's origin, drawn unlit where
// the light is, so its skin alone makes it glow: a white-hot middle facing
// the viewer's side, yellow to orange towards the rim, with slow swirls.

#include "characters/Figure.h"
#include "characters/FigureBuilder.h"

namespace characters {

namespace {

Colour paintSun(const PaintSpot& spot) {
    Vec3 p = spot.position;
    double swirl = fractalNoise(p * 0.22 + Vec3(3.0, 1.0, 7.0), 404);
    double fine = fractalNoise(p * 0.7, 405);
    double heat = clamp01(0.55 + 0.9 * (swirl - 0.5) + 0.35 * (fine - 0.5));
    Colour ember = hexColour(0xFF9A1F);
    Colour gold = hexColour(0xFFD84A);
    Colour white = hexColour(0xFFFBE6);
    Colour colour = heat < 0.5 ? mixColour(ember, gold, heat * 2.0) : mixColour(gold, white, (heat - 0.5) * 2.0);
    // Bright spots: flares on the surface.
    double flare = smoothstep(0.72, 0.85, fractalNoise(p * 0.45 + Vec3(11.0, 0.0, 0.0), 406));
    return mixColour(colour, white, flare);
}

}  // namespace

Figure makeSun() {
    Figure figure("sun", Proportions());
    FigureBuilder builder(figure.skeleton);
    // Centre, radii (front, side, along the axis), segments round, rings along, picture size.
    builder.addBlob(PELVIS, {{0.0, 0.0, 0.0}, {12.0, 12.0, 12.0}, 20, 14, {248, 200}}, paintSun);
    builder.finish(figure);
    figure.skinBackground = hexColour(0xFFD24A);
    figure.skinOptions.storage = TgaStorage::Raw;
    return figure;
}

}  // namespace characters
