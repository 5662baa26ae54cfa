#pragma once

// The painted background: a 640 x 480 rectangle in eye space at distance 500,
// showing a 0.3-wide band of its texture that backgroundScroll slides along.
// Written once by loadBackgroundTexture; read by drawBackground.
extern unsigned int backgroundTexture;

// Makes backgroundTexture from BACKGROUND_TEXTURE_PATH (mipmapped, linear,
// repeat) and releases the image at once. Needs a current GL context.
void loadBackgroundTexture();

// Draws the background where the modelview matrix puts eye space: called
// while it is still the identity, the picture stays fixed on screen. Neither
// tests nor writes depth, so everything drawn later covers it. Leaves depth
// testing and lighting on and texturing off, whatever they were before.
void drawBackground();
