#pragma once

// Sets the fixed OpenGL state every frame relies on and starts the frame
// clock. Called once, right after the window or game mode exists.
void initGLState();

// Reshape callback: viewport and the 50 degree perspective projection.
void onReshape(int width, int height);

// The aspect ratio of the projection; a height of 0 counts as 1.
double aspectRatio(int width, int height);

// Keyboard callback: Escape ends the process at once with status 0.
void onKeyboard(unsigned char key, int mouseX, int mouseY);

constexpr unsigned char ESCAPE_KEY = 27;
