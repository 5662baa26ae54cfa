#pragma once

// The browser's GLUT is emscripten's, which has freeglut's standard calls
// but not its extensions. These are the ones the show uses; the web layer
// defines them (gl/MissingGl.cpp).
#include <GL/freeglut_std.h>

#define GLUT_ACTION_EXIT 0
#define GLUT_ACTION_ON_WINDOW_CLOSE 0x01F9

#ifdef __cplusplus
extern "C" {
#endif

void glutSetOption(GLenum option, int value);

#ifdef __cplusplus
}
#endif
