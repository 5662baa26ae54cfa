#include "support/ShowFixture.h"

#include <cstdlib>
#include <filesystem>

#include "app/RunState.h"
#include "app/SceneAssembly.h"
#include "app/ShowStart.h"
#include "demo/DemoTimeline.h"
#include "model/Actor.h"
#include "platform/Clock.h"
#include "scene/Block.h"
#include "scene/SunLight.h"
#include "support/GLTestWindow.h"
#include "support/RunFolder.h"

int stateFiredAtMs[TIMELINE_STATE_COUNT];
ScenePose sceneAfterAssembly;

namespace {

int fakeNow = 0;
int fakeTicks() {
    return fakeNow;
}
bool assembled = false;

ActorPose poseOf(const Actor& actor) {
    const AnimationState& state = actor.animationState;
    return {actor.x, actor.z, actor.facing, actor.visible, state.animation, state.currentFrame, state.nextFrame};
}

}  // namespace

ScenePose poseOfScene() {
    ScenePose pose;
    for (int i = 0; i < CAST_SIZE; ++i) {
        pose.cast[i] = poseOf(*actors[i]);
    }
    pose.backup = poseOf(*backupActor);
    for (int i = 0; i < BLOCK_COUNT; ++i) {
        pose.blockX[i] = blocks[i]->x;
        pose.blockY[i] = blocks[i]->y;
        pose.blockZ[i] = blocks[i]->z;
    }
    pose.sunCentre = sun->centre;
    pose.sunPosition = sun->position;
    pose.sunRadius = sun->radius;
    return pose;
}

void ShowFixture::SetUp() {
    testgl::prepareContext();
    platform::setTickFunction(fakeTicks);
    // The show reads its files relative to the ready-to-run folder, cues included.
    previousFolder = std::filesystem::current_path();
    std::filesystem::current_path(readyToRunFolder());
    if (!assembled) {
        // No sound card here: the silent driver keeps streams moving in real time.
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        fakeNow = 0;
        ShowOptions options;
        options.output = ShowOutput::CURRENT_CONTEXT;
        options.enterMainLoop = false;
        startShow(options);
        sceneAfterAssembly = poseOfScene();
        assembled = true;
    }
    // Every test plays the show again from its start, taken at tick 0.
    resetScene();
    startTime = 0.0f;
    lastStepMs = 0;
    for (int& at : stateFiredAtMs) {
        at = -1;
    }
}

void ShowFixture::TearDown() {
    platform::setTickFunction(nullptr);
    std::filesystem::current_path(previousFolder);
}

void ShowFixture::stepAt(int atMs, int deltaMs) {
    fakeNow = atMs;
    frameDeltaMs = deltaMs;
    int before = timelineState;
    stepTimeline();
    if (timelineState != before) {
        stateFiredAtMs[before] = atMs;
    }
    lastStepMs = atMs;
}

void ShowFixture::runUntil(int untilMs, int deltaMs) {
    for (int at = lastStepMs + deltaMs; at <= untilMs; at += deltaMs) {
        stepAt(at, deltaMs);
    }
}
