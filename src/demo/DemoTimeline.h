#pragma once

// The script of the show: a fixed sequence of states keyed on the seconds
// since loading finished, stepped once per frame before anything is drawn.
constexpr int TIMELINE_STATE_COUNT = 15;

// One step: moves the sun, recomputes elapsedSeconds and this frame's scroll
// step, fires at most one scripted state, then scrolls the platforms, the
// ground and the background.
void stepTimeline();

// Distance the world scrolls in a frame of frameMs milliseconds: 100 world
// units a second at speed 1.
float scrollStepFor(float speed, int frameMs);

// Moves every platform by the scroll step in `direction` and wraps it into
// the 2000-unit loop around the origin.
void scrollBlocks(int direction, float step);
