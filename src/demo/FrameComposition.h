#pragma once

// The display callback: steps the timeline, then draws one whole frame.
void onDisplay();

// Clears the buffers, steps the timeline and draws the frame: everything of
// onDisplay but the swap and the request for the next frame. The capture
// tool plays the show through this too.
void playFrame();

// Draws the frame for the current state without stepping the timeline.
void drawFrame();

// What any frame of this scene costs whatever the cast does: the clear, the
// background, the bump-shaded ground with its stencil marking and one shadow
// quad over the whole ground, at the current scroll and sun. Timing it beside
// the real frame shows how far the frame is from the renderer's floor.
void drawFloorFrame();

// The visible actors (the figure on stage first, then the cast in table
// order) and all platforms, lit and textured, at animation time `time`.
void drawScene(float time);

// The same walk through the shadow variants.
void drawSceneShadows(float time);
