#include "demo/DemoTimeline.h"

#include <iterator>

#include "ShowFacts.h"
#include "app/RunState.h"
#include "app/SceneAssembly.h"
#include "audio/Audio.h"
#include "model/Actor.h"
#include "platform/Clock.h"
#include "scene/Block.h"
#include "scene/SunLight.h"

namespace {

constexpr float WORLD_LOOP_EDGE = 1000.0f;
constexpr float WORLD_LOOP_LENGTH = 2000.0f;
// The world stops scrolling once the leading cast member has walked this far in.
constexpr float CAST_ARRIVAL_X = 60.0f;

// Where each cast member comes on, in the order of `actors`. The leader's z
// is the 0 it has stood on since assembly.
struct EntryPlace {
    float x, z;
};
constexpr EntryPlace CAST_ENTRY_PLACES[] = {
    {1000.0f, 0.0f}, {1050.0f, -10.0f}, {1100.0f, -50.0f}, {1010.0f, 70.0f}, {1035.0f, -60.0f}, {1040.0f, 80.0f},
};
static_assert(std::size(CAST_ENTRY_PLACES) == CAST_SIZE, "an entry place for every cast member");

void showTheCast() {
    for (int i = 0; i < CAST_SIZE; ++i) {
        actors[i]->visible = true;
        actors[i]->facing = -1;
        actors[i]->x = CAST_ENTRY_PLACES[i].x;
        actors[i]->z = CAST_ENTRY_PLACES[i].z;
    }
}

// The cast travels with the scrolling world until it has arrived.
bool castArrived(float scrollStep) {
    for (Actor* actor : actors) {
        actor->x -= scrollStep;
    }
    return actors[0]->x < CAST_ARRIVAL_X;
}

void everybodyRunsBack() {
    speedFactor = 1.5f;
    playWarcry();
    backupActor->facing = -1;
    backupActor->setAnimation(RUN);
    for (Actor* actor : actors) {
        actor->setAnimation(RUN);
    }
    scrollDirection = -1;
}

// Tests the condition of the current state and, when it holds, performs its
// actions. Returns whether the state fired. All comparisons are strict and
// between 32-bit floats.
bool fireState(int state, float elapsed, float scrollStep) {
    switch (state) {
        case 0:
            if (!(elapsed < 2.0f)) return false;
            backupActor->x = -10.0f;
            scrollDirection = 0;
            backupActor->setAnimation(STAND);
            return true;
        case 1:
            if (!(elapsed > 2.0f)) return false;
            playMusic(SHOW_MUSIC_TRACK);
            return true;
        case 2:
            if (!(elapsed > 3.9f)) return false;
            scrollDirection = 1;
            backupActor->setAnimation(RUN);
            return true;
        case 3:
            if (!(elapsed > 9.8f)) return false;
            backupActor->setAnimation(JUMP);
            playJump();
            return true;
        case 4:
            if (!(elapsed > 10.2f)) return false;
            backupActor->setAnimation(RUN);
            return true;
        case 5:
            if (!(elapsed > 16.0f)) return false;
            showTheCast();
            return true;
        case 6:
            return castArrived(scrollStep);
        case 7:
            scrollDirection = 0;
            backupActor->setAnimation(SALUTE);
            return true;
        case 8:
            if (!(elapsed > 30.0f)) return false;
            playCowards();
            return true;
        case 9:
            if (!(elapsed > 31.0f)) return false;
            backupActor->setAnimation(POINT);
            return true;
        case 10:
            if (!(elapsed > 31.5f)) return false;
            playSpit();
            return true;
        case 11:
            if (!(elapsed > 32.3f)) return false;
            backupActor->setAnimation(SALUTE);
            return true;
        case 12:
            if (!(elapsed > 34.0f)) return false;
            playIllGetYou();
            actors[0]->setAnimation(POINT);
            return true;
        case 13:
            if (!(elapsed > 36.0f)) return false;
            actors[0]->setAnimation(STAND);
            return true;
        case 14:
            if (!(elapsed > 37.0f)) return false;
            everybodyRunsBack();
            return true;
        default:
            return false;
    }
}

}  // namespace

float scrollStepFor(float speed, int frameMs) {
    // Evaluated left to right in double precision, then rounded once.
    return static_cast<float>(static_cast<double>(speed) * 0.5 * frameMs * 200.0 / 1000.0);
}

void scrollBlocks(int direction, float step) {
    for (Block* block : blocks) {
        if (direction == 1) {
            block->x -= step;
            if (block->x < -WORLD_LOOP_EDGE) block->x += WORLD_LOOP_LENGTH;
        } else if (direction == -1) {
            block->x += step;
            if (block->x > WORLD_LOOP_EDGE) block->x -= WORLD_LOOP_LENGTH;
        }
    }
}

void stepTimeline() {
    // The sun still uses the previous step's time, so it runs one frame behind.
    sun->update(speedFactor * elapsedSeconds);

    float sinceStart = static_cast<float>(platform::ticks() - static_cast<double>(startTime));
    elapsedSeconds = sinceStart / 1000.0f;
    float scrollStep = scrollStepFor(speedFactor, frameDeltaMs);

    if (timelineState < TIMELINE_STATE_COUNT && fireState(timelineState, elapsedSeconds, scrollStep)) {
        ++timelineState;
    }

    const float backgroundFactor = 0.0001f;
    if (scrollDirection == 1) {
        groundScroll -= scrollStep;
        backgroundScroll += backgroundFactor * scrollStep;
    } else if (scrollDirection == -1) {
        groundScroll += scrollStep;
        backgroundScroll -= backgroundFactor * scrollStep;
    }
    scrollBlocks(scrollDirection, scrollStep);
}
