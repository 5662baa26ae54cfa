#pragma once

// Frame pacing of the idle callback: measures the milliseconds since the
// previous call into frameDeltaMs and sleeps so that at least
// MINIMUM_FRAME_MS pass between calls (about 200 frames per second at most).
constexpr int MINIMUM_FRAME_MS = 5;

// The idle callback: requests a redisplay, then paces.
void onIdle();

// The pacing alone, without GLUT, so it can run on a fake clock.
void tickFrameClock();
