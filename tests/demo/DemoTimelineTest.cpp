#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "ShowFacts.h"
#include "app/RunState.h"
#include "app/SceneAssembly.h"
#include "audio/Sound.h"
#include "audio/SoundSystem.h"
#include "demo/DemoTimeline.h"
#include "model/Actor.h"
#include "scene/Block.h"
#include "scene/SunLight.h"
#include "support/ShowExpectations.h"
#include "support/ShowFixture.h"

using DemoTimeline = ShowFixture;

namespace {

void expectSamePose(const ActorPose& actual, const ActorPose& expected, const std::string& who) {
    EXPECT_EQ(actual.x, expected.x) << who;
    EXPECT_EQ(actual.z, expected.z) << who;
    EXPECT_EQ(actual.facing, expected.facing) << who;
    EXPECT_EQ(actual.visible, expected.visible) << who;
    EXPECT_EQ(actual.animation, expected.animation) << who;
    EXPECT_EQ(actual.currentFrame, expected.currentFrame) << who;
    EXPECT_EQ(actual.nextFrame, expected.nextFrame) << who;
}

// Every figure and platform of `actual` as in `expected`.
void expectSameScene(const ScenePose& actual, const ScenePose& expected) {
    for (int i = 0; i < CAST_SIZE; ++i) {
        expectSamePose(actual.cast[i], expected.cast[i], "actor " + std::to_string(i));
    }
    expectSamePose(actual.backup, expected.backup, "backup");
    for (int i = 0; i < BLOCK_COUNT; ++i) {
        EXPECT_EQ(actual.blockX[i], expected.blockX[i]) << "block " << i;
        EXPECT_EQ(actual.blockY[i], expected.blockY[i]) << "block " << i;
        EXPECT_EQ(actual.blockZ[i], expected.blockZ[i]) << "block " << i;
    }
}

}  // namespace

TEST_F(DemoTimeline, AssemblyLeavesTheCastHiddenOffStageAndTheBackupOnStage) {
    const ScenePose& assembled = sceneAfterAssembly;
    ScenePose expected;
    // Animation 0 from frame 0, blending towards frame 1; animation 1 towards frame 41.
    for (ActorPose& member : expected.cast) {
        member = {1000.0f, 0.0f, 1, false, 0, 0, 1};
    }
    expected.backup = {0.0f, 0.0f, 1, true, 1, 0, 41};
    for (int i = 0; i < BLOCK_COUNT; ++i) {
        expected.blockX[i] = PLATFORM_START_PLACES[i].x;
        expected.blockY[i] = PLATFORM_START_PLACES[i].y;
        expected.blockZ[i] = PLATFORM_START_PLACES[i].z;
    }
    expectSameScene(assembled, expected);
    EXPECT_NE(blocks[3], blocks[4]);
    EXPECT_EQ(assembled.sunCentre.y, 100.0f);
    EXPECT_EQ(assembled.sunRadius, 200.0f);
}

TEST_F(DemoTimeline, ResetPutsBackWhatAssemblyLeft) {
    runUntil(40000);
    blocks[5]->y = 0.0f;
    blocks[5]->z = 0.0f;
    sun->setRadius(10.0f);
    resetScene();

    ScenePose reset = poseOfScene();
    expectSameScene(reset, sceneAfterAssembly);
    EXPECT_EQ(reset.sunRadius, sceneAfterAssembly.sunRadius);
    EXPECT_EQ(timelineState, 0);
    EXPECT_EQ(speedFactor, 1.0f);
    EXPECT_EQ(scrollDirection, 1);
    EXPECT_EQ(groundScroll, 0.0f);
    EXPECT_EQ(backgroundScroll, 0.0f);
}

// Who plays which animation once each state has fired: the figure on stage,
// then actors 0 to 5.
TEST_F(DemoTimeline, EachStateSetsItsFiguresAnimations) {
    struct Moment {
        int atMs;
        int backup;
        int cast[CAST_SIZE];
    };
    const Moment moments[] = {
        {1000, STAND, {STAND, STAND, STAND, STAND, STAND, STAND}},
        {4000, RUN, {STAND, STAND, STAND, STAND, STAND, STAND}},
        {10000, JUMP, {STAND, STAND, STAND, STAND, STAND, STAND}},
        {16000, RUN, {STAND, STAND, STAND, STAND, STAND, STAND}},
        {30500, SALUTE, {STAND, STAND, STAND, STAND, STAND, STAND}},
        {31200, POINT, {STAND, STAND, STAND, STAND, STAND, STAND}},
        {33000, SALUTE, {STAND, STAND, STAND, STAND, STAND, STAND}},
        {35000, SALUTE, {POINT, STAND, STAND, STAND, STAND, STAND}},
        {36500, SALUTE, {STAND, STAND, STAND, STAND, STAND, STAND}},
        {37500, RUN, {RUN, RUN, RUN, RUN, RUN, RUN}},
    };
    for (const Moment& moment : moments) {
        runUntil(moment.atMs);
        EXPECT_EQ(backupActor->animationState.animation, moment.backup) << "backup at " << moment.atMs;
        for (int i = 0; i < CAST_SIZE; ++i) {
            EXPECT_EQ(actors[i]->animationState.animation, moment.cast[i]) << "actor " << i << " at " << moment.atMs;
        }
    }
}

TEST_F(DemoTimeline, TheScriptFiresEachStateOnceAtItsTime) {
    runUntil(45000);
    // State 0 fires on the very first step; the others on the first step past
    // their time, but 6 and 7, which wait for the cast (checked below).
    const int firedAtMs[] = {10,    2010,  3910,  9810,  10210, 16010, -1,   -1,
                             30010, 31010, 31510, 32310, 34010, 36010, 37010};
    for (int state = 0; state < 15; ++state) {
        if (firedAtMs[state] >= 0) {
            EXPECT_EQ(stateFiredAtMs[state], firedAtMs[state]) << "state " << state;
        }
    }
    // The cast walks in from x = 1000 at 100 units a second and stops past x = 60.
    EXPECT_NEAR(stateFiredAtMs[6], 16010 + 9400, 20);
    EXPECT_EQ(stateFiredAtMs[7], stateFiredAtMs[6] + 10);
    EXPECT_EQ(timelineState, 15);
}

TEST_F(DemoTimeline, TheWorldHoldsStillUntilTheFigureStartsRunning) {
    stepAt(5, 5);
    EXPECT_EQ(timelineState, 1);
    EXPECT_EQ(scrollDirection, 0);
    EXPECT_EQ(backupActor->x, -10.0f);
    EXPECT_EQ(backupActor->animationState.animation, 0);
    // The first measured frame includes all the loading time; it moves nothing.
    stepAt(800, 795);
    runUntil(3900);
    EXPECT_EQ(groundScroll, 0.0f);
    EXPECT_EQ(blocks[0]->x, 40.0f);

    runUntil(4900);
    EXPECT_EQ(backupActor->animationState.animation, 1);
    // 100 world units a second while scrolling towards -x.
    // 100 steps from 3.91 s to 4.9 s, the first one in the very step that starts the run.
    EXPECT_NEAR(groundScroll, -100.0f, 0.01f);
    EXPECT_NEAR(blocks[0]->x, 40.0f - 100.0f, 0.01f);
    EXPECT_NEAR(backgroundScroll, 0.01f, 1e-6f);
}

TEST_F(DemoTimeline, AFirstStepAtTwoSecondsNeverFiresTheOpeningState) {
    stepAt(2000, 20);
    runUntil(20000, 20);
    EXPECT_EQ(timelineState, 0);
    EXPECT_EQ(scrollDirection, 1);
    EXPECT_LT(groundScroll, -1800.0f);
    EXPECT_FALSE(actors[0]->visible);
}

TEST_F(DemoTimeline, ALongFrameFiresThePassedStatesOnePerFrame) {
    runUntil(9000);
    ASSERT_EQ(timelineState, 3);
    stepAt(12000, 3000);
    EXPECT_EQ(timelineState, 4);
    EXPECT_EQ(backupActor->animationState.animation, 6);
    stepAt(12010, 10);
    EXPECT_EQ(timelineState, 5);
    EXPECT_EQ(backupActor->animationState.animation, 1);
}

TEST_F(DemoTimeline, TheCastTravelsWithTheWorldUntilTheLeaderPassesSixty) {
    runUntil(16010);
    ASSERT_EQ(timelineState, 6);
    for (int i = 0; i < CAST_SIZE; ++i) {
        EXPECT_TRUE(actors[i]->visible) << i;
        EXPECT_EQ(actors[i]->facing, -1) << i;
        EXPECT_EQ(actors[i]->x, CAST_ENTRANCES[i][0]) << i;
        EXPECT_EQ(actors[i]->z, CAST_ENTRANCES[i][1]) << i;
    }

    // Past every time threshold, but the leader is still far right.
    float blockBefore = blocks[0]->x;
    float leaderBefore = actors[0]->x;
    stepAt(16030, 20);
    EXPECT_EQ(timelineState, 6);
    EXPECT_FLOAT_EQ(blockBefore - blocks[0]->x, leaderBefore - actors[0]->x);

    while (actors[0]->x >= 60.0f) {
        stepAt(lastStepMs + 10, 10);
        ASSERT_LT(lastStepMs, 30000);
    }
    EXPECT_EQ(timelineState, 7);
    EXPECT_EQ(scrollDirection, 1);
    stepAt(lastStepMs + 10, 10);
    EXPECT_EQ(timelineState, 8);
    EXPECT_EQ(scrollDirection, 0);
    EXPECT_EQ(backupActor->animationState.animation, 8);
}

TEST_F(DemoTimeline, AtTheEndEverybodyRunsTheOtherWayFaster) {
    runUntil(37000);
    float animationTimeBefore = speedFactor * elapsedSeconds;
    stepAt(37010, 10);
    EXPECT_EQ(timelineState, 15);
    EXPECT_EQ(speedFactor, 1.5f);
    EXPECT_EQ(scrollDirection, -1);
    EXPECT_EQ(backupActor->facing, -1);
    for (Actor* actor : actors) {
        EXPECT_EQ(actor->animationState.animation, 1);
    }
    EXPECT_NEAR(animationTimeBefore, 37.0f, 0.01f);
    EXPECT_NEAR(speedFactor * elapsedSeconds, 55.5f, 0.02f);

    float groundBefore = groundScroll;
    stepAt(37110, 100);
    EXPECT_NEAR(groundScroll - groundBefore, 15.0f, 0.001f);
    // The sun's orbit jumps forward too: this step placed it at 1.5 x 37.01 radians.
    const double angle = 1.5 * 37.01;
    EXPECT_NEAR(sun->position.x, 200.0 * std::cos(angle), 0.1);
    EXPECT_NEAR(sun->position.z, 200.0 * std::sin(angle), 0.1);
}

TEST_F(DemoTimeline, TheSunFollowsThePreviousStepsTime) {
    stepAt(5, 5);
    EXPECT_FLOAT_EQ(sun->position.x, 200.0f);  // angle 0 on the first step
    EXPECT_EQ(sun->position.w, 1.0f);
    stepAt(1571, 20);
    EXPECT_NEAR(sun->position.z, 0.0f + 200.0f * 0.005f, 0.01f);
    stepAt(1591, 20);
    EXPECT_NEAR(sun->position.x, 0.0f, 0.5f);
    EXPECT_NEAR(sun->position.z, 200.0f, 0.01f);
}

TEST_F(DemoTimeline, EachSoundOpensItsFileOnTheStepPastItsTime) {
    auto expectStartAt = [&](const ExpectedCue& cue) {
        const int ms = static_cast<int>(std::lround(cue.seconds * 1000.0f));
        runUntil(ms);
        const size_t opened = audioSystem->sounds.size();
        stepAt(ms + 10, 10);
        ASSERT_EQ(audioSystem->sounds.size(), opened + 1) << cue.file;
        EXPECT_EQ(audioSystem->sounds.back()->path, cue.file);
    };
    expectStartAt(MUSIC_CUE);
    for (const ExpectedCue& cue : SOUND_CUES) {
        expectStartAt(cue);
    }
}

TEST(ScrollBlocks, WrapAtTheEdgesOfTheLoopWithStrictTests) {
    // A texture name already set means these blocks load nothing; they are never drawn.
    Block::blockTexture = Block::blockTexture ? Block::blockTexture : 1;
    std::vector<Block> platforms(BLOCK_COUNT, Block(0.0f, 0.0f, 0.0f));
    Block* saved[BLOCK_COUNT];
    for (int i = 0; i < BLOCK_COUNT; ++i) {
        saved[i] = blocks[i];
        blocks[i] = &platforms[i];
    }
    platforms[0].x = -995.0f;
    platforms[1].x = -990.0f;
    platforms[2].x = 995.0f;
    scrollBlocks(1, 10.0f);
    EXPECT_EQ(platforms[0].x, 995.0f);
    EXPECT_EQ(platforms[1].x, -1000.0f);  // exactly at the edge: not wrapped
    EXPECT_EQ(platforms[2].x, 985.0f);
    platforms[2].x = 995.0f;
    scrollBlocks(-1, 5.0f);
    EXPECT_EQ(platforms[2].x, 1000.0f);
    scrollBlocks(-1, 5.0f);
    EXPECT_EQ(platforms[2].x, -995.0f);
    scrollBlocks(0, 5.0f);
    EXPECT_EQ(platforms[2].x, -995.0f);
    for (int i = 0; i < BLOCK_COUNT; ++i) {
        blocks[i] = saved[i];
    }
}

TEST(ScrollStep, IsAHundredUnitsASecondAtSpeedOne) {
    EXPECT_FLOAT_EQ(scrollStepFor(1.0f, 10), 1.0f);
    EXPECT_FLOAT_EQ(scrollStepFor(1.5f, 10), 1.5f);
    EXPECT_FLOAT_EQ(scrollStepFor(1.0f, 0), 0.0f);
}
