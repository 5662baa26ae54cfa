#pragma once

// Builds every scene object once, in a fixed order, with the GL context
// current: the cast, the platforms, the figure on stage, the sun, the ground,
// the background, the shader program and the audio system.
void assembleScene();
