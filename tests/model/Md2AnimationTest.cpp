#include <gtest/gtest.h>

#include <vector>

#include "model/Md2Model.h"
#include "support/Md2FileBuilder.h"

using namespace md2test;

namespace {

// Frames named f0 ... f<count-1>: numbers only rise, so one animation.
void loadNumberedFrames(Md2Model& model, int count) {
    Md2FileBuilder file;
    file.addNumberedFrames("f", count);
    std::vector<std::uint8_t> bytes = file.bytes();
    ASSERT_EQ(model.parse(bytes.data(), bytes.size(), "frames.md2").status, Md2ParseStatus::Loaded);
}

}  // namespace

// That the ranges follow one another from frame 0 is checked where the table
// is written; these are the rows the show plays (stand, run, jump, salute,
// point) and the table's last frame and slowest rate.
TEST(Md2Animation, TheTableHoldsTheRangesTheShowPlays) {
    const int rows[][4] = {{0, 0, 39, 9},     {1, 40, 45, 10},   {6, 66, 71, 7},   {8, 84, 94, 7},
                           {11, 123, 134, 6}, {16, 173, 177, 5}, {20, 198, 198, 5}};
    for (const auto& row : rows) {
        const AnimationRange& range = animationRanges[row[0]];
        EXPECT_EQ(range.firstFrame, row[1]) << row[0];
        EXPECT_EQ(range.lastFrame, row[2]) << row[0];
        EXPECT_EQ(range.framesPerSecond, row[3]) << row[0];
    }
}

TEST(Md2Animation, ANewAnimationBlendsFromTheCurrentFrameAndLoopsItsRange) {
    Md2Model model;
    loadNumberedFrames(model, 199);
    AnimationState state;
    model.setAnimation(state, 0);
    EXPECT_EQ(model.state, &state);
    EXPECT_EQ(state.nextFrame, 1);
    state.currentFrame = 17;
    model.setAnimation(state, 1);
    EXPECT_EQ(state.currentFrame, 17);
    EXPECT_EQ(state.nextFrame, 41);
    EXPECT_EQ(state.framesPerSecond, 10);

    std::vector<int> frames;
    float time = 0.0f;
    for (int step = 0; step < 8; ++step) {
        time += 0.2f;
        model.animate(time);
        EXPECT_EQ(state.blend, 0.0f);
        frames.push_back(state.currentFrame);
    }
    EXPECT_EQ(frames, (std::vector<int>{41, 42, 43, 44, 45, 40, 41, 42}));
}

TEST(Md2Animation, SelectingTheAnimationInEffectOnlyAttachesTheState) {
    Md2Model model;
    loadNumberedFrames(model, 199);
    AnimationState state;
    model.setAnimation(state, 6);
    model.animate(1.0f);
    AnimationState before = state;

    Md2Model other;
    loadNumberedFrames(other, 199);
    other.setAnimation(state, 6);
    EXPECT_EQ(other.state, &state);
    EXPECT_EQ(state.currentFrame, before.currentFrame);
    EXPECT_EQ(state.nextFrame, before.nextFrame);
    EXPECT_EQ(state.stepTime, before.stepTime);
}

TEST(Md2Animation, NumbersTheModelOrTableCannotPlaySelectZero) {
    // Ten drops in the frame numbers: eleven animations.
    Md2FileBuilder file;
    file.vertexCount = 1;
    for (int i = 0; i < 20; ++i) {
        file.frames.push_back(gridFrame(i % 2 == 0 ? "a1" : "a0"));
        file.frames.back().vertices = {sceneVertex(0, 0, 0)};
    }
    std::vector<std::uint8_t> bytes = file.bytes();
    Md2Model model;
    ASSERT_EQ(model.parse(bytes.data(), bytes.size(), "eleven.md2").status, Md2ParseStatus::Loaded);
    ASSERT_EQ(model.animationCount, 11);

    for (int refused : {-1, 12, 21, 25}) {
        AnimationState state;
        model.setAnimation(state, refused);
        EXPECT_EQ(state.animation, 0) << refused;
        EXPECT_EQ(state.lastFrame, 39) << refused;
    }
    AnimationState equalToCount;
    model.setAnimation(equalToCount, 11);
    EXPECT_EQ(equalToCount.animation, 11);
    EXPECT_EQ(equalToCount.firstFrame, 123);

    // Through the table's end even when the model counts more animations.
    model.animationCount = 30;
    AnimationState pastTable;
    model.setAnimation(pastTable, 21);
    EXPECT_EQ(pastTable.animation, 0);
}

TEST(Md2Animation, OneStepAtMostAndOnlyStrictlyAfterAFrameTime) {
    Md2Model model;
    loadNumberedFrames(model, 199);
    AnimationState state;
    model.setAnimation(state, 0);  // 9 frames per second
    state.stepTime = 2.0f;
    state.currentTime = 2.0f;

    model.animate(2.1f);
    EXPECT_EQ(state.currentFrame, 0);
    EXPECT_NEAR(state.blend, 0.9f, 1e-5f);

    model.animate(2.12f);
    EXPECT_EQ(state.currentFrame, 1);
    EXPECT_EQ(state.nextFrame, 2);
    EXPECT_EQ(state.stepTime, 2.12f);
    EXPECT_EQ(state.blend, 0.0f);

    model.animate(7.12f);
    EXPECT_EQ(state.currentFrame, 2);
    EXPECT_EQ(state.nextFrame, 3);
    EXPECT_EQ(state.blend, 0.0f);

    // Exactly one frame time after the step: no step, blend 1.
    AnimationState exact;
    model.setAnimation(exact, 0);
    model.animate(1.0f / 9.0f);
    EXPECT_EQ(exact.currentFrame, 0);
    EXPECT_FLOAT_EQ(exact.blend, 1.0f);
}

TEST(Md2Animation, FramesTheModelLacksFallBackToFrameZero) {
    Md2Model single;
    loadNumberedFrames(single, 1);
    AnimationState state;
    single.setAnimation(state, 0);
    single.animate(1.0f);
    EXPECT_EQ(state.currentFrame, 0);
    EXPECT_EQ(state.nextFrame, 0);
    EXPECT_EQ(state.blend, 0.0f);

    Md2Model short3;
    loadNumberedFrames(short3, 3);
    AnimationState run;
    short3.setAnimation(run, 0);
    std::vector<int> frames;
    for (int step = 1; step <= 5; ++step) {
        short3.animate(step * 0.2f);
        frames.push_back(run.currentFrame * 10 + run.nextFrame);
    }
    // Frame 3 does not exist: frame 0 takes its place and the run goes on from there.
    EXPECT_EQ(frames, (std::vector<int>{12, 20, 1, 12, 20}));
}

TEST(Md2Animation, InterpolationBlendsPositionsAndNegatesNormals) {
    Md2FileBuilder file;
    file.vertexCount = 3;
    Frame first = gridFrame("move1");
    first.vertices = {sceneVertex(0, 0, 0), sceneVertex(1, 0, 0), sceneVertex(0, 1, 0)};
    Frame second = gridFrame("move2");
    second.vertices = {sceneVertex(2, 0, 0), sceneVertex(2, 0, 1), sceneVertex(3, 0, 0)};
    file.frames = {first, second};
    file.triangles = {{0, 1, 2}};
    std::vector<std::uint8_t> bytes = file.bytes();
    Md2Model model;
    ASSERT_EQ(model.parse(bytes.data(), bytes.size(), "move.md2").status, Md2ParseStatus::Loaded);

    AnimationState state;
    model.setAnimation(state, 0);
    state.currentFrame = 0;
    state.nextFrame = 1;
    state.blend = 0.5f;
    model.scale = 2.0f;
    float positions[9], normals[9];
    model.interpolate(positions, normals);
    // Vertex 0 half-way from (0,0,0) to (2,0,0), scaled by 2.
    EXPECT_NEAR(positions[0], 2.0f, 1e-5f);
    EXPECT_NEAR(positions[1], 0.0f, 1e-5f);
    // Vertex 1 half-way from (1,0,0) to (2,0,1).
    EXPECT_NEAR(positions[3], 3.0f, 1e-5f);
    EXPECT_NEAR(positions[5], 1.0f, 1e-5f);
    // Normals (0,0,1) in frame 0 and (0,1,0) in frame 1: blended, negated,
    // scaled, not renormalised.
    EXPECT_NEAR(normals[0], 0.0f, 1e-5f);
    EXPECT_NEAR(normals[1], -1.0f, 1e-5f);
    EXPECT_NEAR(normals[2], -1.0f, 1e-5f);
}
