#include "app/RunState.h"

float startTime = 0.0f;
float elapsedSeconds = 0.0f;
float speedFactor = 1.0f;
int scrollDirection = 1;
int timelineState = 0;
float groundScroll = 0.0f;
float backgroundScroll = 0.0f;

float cameraHeight = 0.0f;
float cameraDistance = -270.0f;
float cameraPitch = 25.0f;

int currentTick = 0;
int previousTick = 0;
int frameDeltaMs = 0;
