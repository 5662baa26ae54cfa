#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "characters/CharacterMesh.h"
#include "characters/Choreography.h"
#include "characters/Md2Content.h"
#include "characters/SkinPainter.h"
#include "formats/TgaWriter.h"

namespace characters {

// One character of the show, ready to be written: its skeleton and mesh,
// how it moves, and how its skin is painted and stored.
struct Figure {
    std::string name;
    Skeleton skeleton;
    CharacterMesh mesh;
    MotionStyle style;
    Landmarks landmarks;
    PaintFunction paint;
    Colour skinBackground;
    TgaOptions skinOptions;

    explicit Figure(const std::string& figureName, const Proportions& proportions)
        : name(figureName), skeleton(proportions) {}
};

Figure makeZorbi();
Figure makeKurbis();
Figure makeMarvin();
Figure makeDroid();
Figure makeBunny();
Figure makeTigger();

// The sun's glowing ball: one frame, no skeleton to speak of.
Figure makeSun();

// All 198 keyframes of a figure, each set down so that its lowest point is
// the pose's lift above the ground.
std::vector<Md2Frame> animateFigure(const Figure& figure);

// The figure's MD2 file and its painted skin.
std::vector<std::uint8_t> figureModelBytes(const Figure& figure, const std::vector<Md2Frame>& frames);
Picture figureSkin(const Figure& figure);

// Shared help for painting faces: the direction of a head's surface normal
// as yaw (radians, positive to the figure's left) and pitch (radians, up).
struct FaceAngles {
    double yaw;
    double pitch;
};
FaceAngles faceAngles(const Vec3& normal);

// Distance-like measure of a point from an ellipse centred at (cx, cy) with
// half-axes (rx, ry): below 1 inside.
double ellipseDistance(double x, double y, double cx, double cy, double rx, double ry);

}  // namespace characters
