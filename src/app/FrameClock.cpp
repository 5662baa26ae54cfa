#include "app/FrameClock.h"

#include <GL/freeglut.h>

#include "app/RunState.h"
#include "platform/Clock.h"

void tickFrameClock() {
    previousTick = currentTick;
    currentTick = platform::ticks();
    frameDeltaMs = currentTick - previousTick;
    // currentTick is not read again after the sleep, so the time slept counts
    // into the next call's frameDeltaMs.
    if (frameDeltaMs < MINIMUM_FRAME_MS) {
        platform::sleepMilliseconds(MINIMUM_FRAME_MS - frameDeltaMs);
    }
}

void onIdle() {
    glutPostRedisplay();
    tickFrameClock();
}
