#pragma once

#include <gtest/gtest.h>

#include <filesystem>

#include "app/SceneAssembly.h"
#include "demo/DemoTimeline.h"
#include "scene/Vec4.h"

// The assembled show from the ready-to-run folder's real data, in a GL test
// window, on a clock the test moves. Each test starts from the state right
// after assembly, with the start time taken at tick 0.
class ShowFixture : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Steps the timeline as the frame would at `atMs` milliseconds after the
    // start time, with `deltaMs` as the frame delta.
    void stepAt(int atMs, int deltaMs);

    // Steps every `deltaMs` from the last step up to and including `untilMs`.
    void runUntil(int untilMs, int deltaMs = 10);

    int lastStepMs = 0;

private:
    std::filesystem::path previousFolder;
};

// Milliseconds at which each state fired in the last runs, -1 where it did not.
extern int stateFiredAtMs[TIMELINE_STATE_COUNT];

// What the timeline and the frame can change about one figure.
struct ActorPose {
    float x, z;
    int facing;
    bool visible;
    int animation, currentFrame, nextFrame;
};

// The changeable part of the whole assembled scene.
struct ScenePose {
    ActorPose cast[CAST_SIZE];
    ActorPose backup;
    float blockX[BLOCK_COUNT], blockY[BLOCK_COUNT], blockZ[BLOCK_COUNT];
    Vec4 sunCentre, sunPosition;
    float sunRadius;
};

ScenePose poseOfScene();

// The scene as assembleScene itself left it, taken once before any test
// changed or reset it.
extern ScenePose sceneAfterAssembly;
