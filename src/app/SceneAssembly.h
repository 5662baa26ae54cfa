#pragma once

#include "ShowFacts.h"
#include "scene/Matrix4.h"
#include "scene/Plane.h"

class Actor;
class Block;
class SunLight;

constexpr int BLOCK_COUNT = 13;

// The scene objects: made once by assembleScene and never destroyed. The
// timeline moves, turns, shows and re-animates them; the frame draws them;
// resetScene puts them back where assembly left them. Tests change them too,
// to stage the scene they check.
extern Actor* actors[CAST_SIZE];    // built from CAST_NAMES, in that order
extern Actor* backupActor;          // the figure on stage from the start
extern Block* blocks[BLOCK_COUNT];  // the platforms; the timeline scrolls their x
extern SunLight* sun;               // the light and its orbit
// The ground surface y = 0 in the ground's own frame.
extern const Plane shadowPlane;
// Rebuilt by the frame every frame from the sun's position; cleared by resetScene.
extern Matrix4 shadowMatrix;

// Builds every scene object once, in a fixed order, with the GL context
// current: the cast, the platforms, the figure on stage, the sun, the ground,
// the background, the shader program and the audio system. The order fixes
// the order in which files are read.
void assembleScene();

// Puts everything the show (or a test) changes back to where assembleScene
// and start-up leave it, so that the show can be played again from its start
// in one process, as the tests do: the run state (resetRunState); every actor
// at its place, facing, visibility and animation, restarted from its first
// frame; every platform at its start place; the sun's orbit, with the sun
// unplaced until the first timeline step; the shadow matrix. Nothing is
// loaded again.
void resetScene();
