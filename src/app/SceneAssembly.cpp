#include "app/SceneAssembly.h"

#include <iterator>

#include "app/RunState.h"
#include "audio/Audio.h"
#include "model/Actor.h"
#include "resource/ShaderProgram.h"
#include "scene/Background.h"
#include "scene/Block.h"
#include "scene/GroundMaterial.h"
#include "scene/SunLight.h"

Actor* actors[CAST_SIZE] = {};
Actor* backupActor = nullptr;
Block* blocks[BLOCK_COUNT] = {};
SunLight* sun = nullptr;
const Plane shadowPlane(0.0f, 1.0f, 0.0f, 0.0f);
Matrix4 shadowMatrix;

namespace {

struct BlockPlace {
    float x, y, z;
};

// The platforms' start places, slot by slot. Slots 3 and 4 are two distinct
// platforms at one place.
const BlockPlace BLOCK_PLACES[] = {
    {40, 40, -150},   {60, 40, -150},    {80, 40, -150},   {250, -14, -220}, {250, -14, -220},
    {290, -14, -220}, {460, 40, -170},   {480, 60, -170},  {500, 80, -170},  {-100, 20, -180},
    {-200, 30, -190}, {-680, -14, -110}, {600, -14, -125},
};
static_assert(std::size(BLOCK_PLACES) == BLOCK_COUNT, "one start place for every platform");

// Everybody waits off stage, hidden, until the timeline brings them in.
void sendCastOffStage() {
    for (Actor* actor : actors) {
        actor->x = 1000.0f;
        actor->visible = false;
    }
}

void assembleCast() {
    for (int i = 0; i < CAST_SIZE; ++i) {
        actors[i] = new Actor(CAST_NAMES[i]);
        actors[i]->setAnimation(0);
    }
    sendCastOffStage();
}

// Back to the state the constructor leaves, then the given animation.
void resetActor(Actor* actor, int animation) {
    actor->animationState = AnimationState();
    actor->x = 0.0f;
    actor->z = 0.0f;
    actor->facing = 1;
    actor->visible = false;
    actor->setAnimation(animation);
}

void assembleBlocks() {
    for (int i = 0; i < BLOCK_COUNT; ++i) {
        blocks[i] = new Block(BLOCK_PLACES[i].x, BLOCK_PLACES[i].y, BLOCK_PLACES[i].z);
    }
}

void putBlocksInPlace() {
    for (int i = 0; i < BLOCK_COUNT; ++i) {
        blocks[i]->x = BLOCK_PLACES[i].x;
        blocks[i]->y = BLOCK_PLACES[i].y;
        blocks[i]->z = BLOCK_PLACES[i].z;
    }
}

// The orbit's centre and radius, in world units.
void setSunOrbit() {
    sun->setCentre(0.0f, 100.0f, 0.0f);
    sun->setRadius(200.0f);
}

}  // namespace

void resetScene() {
    resetRunState();
    for (Actor* actor : actors) {
        resetActor(actor, 0);
    }
    sendCastOffStage();
    putBlocksInPlace();
    resetActor(backupActor, 1);
    backupActor->visible = true;
    setSunOrbit();
    sun->position = Vec4();
    sun->enabled = true;
    shadowMatrix = Matrix4();
}

void assembleScene() {
    assembleCast();
    assembleBlocks();

    backupActor = new Actor("zorbi_backup");
    backupActor->setAnimation(1);
    backupActor->visible = true;

    sun = new SunLight();
    setSunOrbit();

    groundMaterial = new GroundMaterial(GROUND_TEXTURE_PATH);
    groundMaterial->loadNormalMap(GROUND_NORMAL_MAP_PATH);
    loadBackgroundTexture();

    buildBumpShader();
    initAudio();
}
