#include <gtest/gtest.h>

#include <vector>

#include "app/FrameClock.h"
#include "app/GLState.h"
#include "app/RunState.h"
#include "platform/Clock.h"

namespace {

// A clock that only moves when the test (or a sleep) moves it.
int fakeNow = 0;
std::vector<int> sleeps;

int fakeTicks() {
    return fakeNow;
}
void fakeSleep(int milliseconds) {
    sleeps.push_back(milliseconds);
    fakeNow += milliseconds;
}

class FrameClockTest : public testing::Test {
protected:
    void SetUp() override {
        fakeNow = 1000;
        sleeps.clear();
        platform::setTickFunction(fakeTicks);
        platform::setSleepFunction(fakeSleep);
        currentTick = previousTick = fakeNow;
        frameDeltaMs = 0;
    }
    void TearDown() override {
        platform::setTickFunction(nullptr);
        platform::setSleepFunction(nullptr);
    }
};

}  // namespace

TEST_F(FrameClockTest, CallsThreeMillisecondsApartSleepTheRest) {
    fakeNow += 3;
    tickFrameClock();
    EXPECT_EQ(frameDeltaMs, 3);
    ASSERT_EQ(sleeps.size(), 1u);
    EXPECT_EQ(sleeps[0], 2);
}

TEST_F(FrameClockTest, CallsFiveOrMoreApartDoNotSleep) {
    fakeNow += 5;
    tickFrameClock();
    EXPECT_EQ(frameDeltaMs, 5);
    fakeNow += 40;
    tickFrameClock();
    EXPECT_EQ(frameDeltaMs, 40);
    EXPECT_TRUE(sleeps.empty());
}

TEST_F(FrameClockTest, SleptTimeCountsIntoTheNextDelta) {
    fakeNow += 1;
    tickFrameClock();  // sleeps 4
    fakeNow += 2;
    tickFrameClock();
    EXPECT_EQ(frameDeltaMs, 6);
    EXPECT_EQ(sleeps.size(), 1u);
}

TEST(AspectRatio, DividesWidthByHeightAndSurvivesZeroHeight) {
    EXPECT_DOUBLE_EQ(aspectRatio(1024, 512), 2.0);
    EXPECT_DOUBLE_EQ(aspectRatio(800, 600), 800.0 / 600.0);
    EXPECT_DOUBLE_EQ(aspectRatio(640, 0), 640.0);
}
