#pragma once

// The display callback: steps the timeline, then draws one whole frame.
void onDisplay();

// Draws the frame without stepping the timeline, swapping or requesting the
// next frame; the capture tool renders through this too.
void drawFrame();

// The visible actors (the figure on stage first, then the cast in table
// order) and all platforms, lit and textured, at animation time `time`.
void drawScene(float time);

// The same walk through the shadow variants.
void drawSceneShadows(float time);
