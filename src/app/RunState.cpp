#include "app/RunState.h"

namespace {

// Where every show starts: start-up takes these as the globals' initial
// values, and resetRunState puts them back for a replay in one process.
constexpr float START_SPEED_FACTOR = 1.0f;
constexpr int START_SCROLL_DIRECTION = 1;

}  // namespace

float startTime = 0.0f;
float elapsedSeconds = 0.0f;
float speedFactor = START_SPEED_FACTOR;
int scrollDirection = START_SCROLL_DIRECTION;
int timelineState = 0;
float groundScroll = 0.0f;
float backgroundScroll = 0.0f;

int currentTick = 0;
int previousTick = 0;
int frameDeltaMs = 0;

void resetRunState() {
    elapsedSeconds = 0.0f;
    speedFactor = START_SPEED_FACTOR;
    scrollDirection = START_SCROLL_DIRECTION;
    timelineState = 0;
    groundScroll = 0.0f;
    backgroundScroll = 0.0f;
    frameDeltaMs = 0;
}
