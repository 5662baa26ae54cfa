#pragma once

// Global run state of the show. Times are in seconds unless named otherwise.
// The values marked "reset" are also written back to their start values by
// resetRunState, which resetScene calls before a show is played again. The
// writers named below are the program's; tests also set any of these to
// stage the moment they check.

// Ticks at the end of loading, as a float; written once per show, after loading, by
// startShow (the test fixtures write it again when they replay the show); read by the
// timeline.
extern float startTime;
// Seconds since startTime; written by the timeline every frame, read by the frame and the
// sun. Reset.
extern float elapsedSeconds;
// Scales scrolling, animation time and the sun's orbit; 1.0, then 1.5 from the last state
// on. Written by the timeline; reset.
extern float speedFactor;
// 1: the world scrolls towards -x; -1: towards +x; 0: still. Written by the timeline; reset.
extern int scrollDirection;
// Index of the next scripted state to test; TIMELINE_STATE_COUNT (DemoTimeline.h) when
// the script is over. Written by the timeline; reset.
extern int timelineState;
// Ground offset in world units; written by the timeline, read by the ground drawing. Reset.
extern float groundScroll;
// Background texture offset in texture units; written by the timeline, read by the
// background. Reset.
extern float backgroundScroll;

// The fixed camera: the scene is moved by (0, cameraHeight, cameraDistance)
// and tilted by cameraPitch about x.
constexpr float cameraHeight = 0.0f;
constexpr float cameraDistance = -270.0f;
constexpr float cameraPitch = 25.0f;  // degrees

// Frame clock, in ticks (milliseconds); written by initGLState and the idle callback.
extern int currentTick;
extern int previousTick;
// currentTick - previousTick, measured before any sleep; written by the idle callback,
// read by the timeline. Reset.
extern int frameDeltaMs;

// Puts the values marked "reset" above (elapsedSeconds, speedFactor,
// scrollDirection, timelineState, groundScroll, backgroundScroll,
// frameDeltaMs) back to where a show starts. Start-up needs no call: the
// globals start there.
void resetRunState();
