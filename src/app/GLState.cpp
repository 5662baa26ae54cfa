#include "app/GLState.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include "app/RunState.h"
#include "platform/Clock.h"
#include "platform/ProcessExit.h"

namespace {
const GLfloat MATERIAL_SPECULAR[] = {0.6f, 0.6f, 0.6f, 1.0f};
// bump.fsh raises the ground's highlight to this power by squaring: change both.
const GLfloat MATERIAL_SHININESS = 20.0f;
const GLfloat MATERIAL_AMBIENT[] = {0.5f, 0.5f, 0.5f, 1.0f};
const GLfloat MATERIAL_DIFFUSE[] = {0.4f, 0.4f, 0.4f, 1.0f};
const GLfloat LIGHT_DIFFUSE[] = {1.0f, 1.0f, 1.0f, 1.0f};
const GLfloat LIGHT_SPECULAR[] = {1.0f, 1.0f, 1.0f, 1.0f};
const GLfloat LIGHT_MODEL_AMBIENT[] = {0.5f, 0.5f, 0.5f, 1.0f};
}  // namespace

void initGLState() {
    // The current colour drives ambient and diffuse reflection of everything drawn.
    glEnable(GL_COLOR_MATERIAL);
    glTexEnvf(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glClearColor(0.1f, 0.1f, 0.1f, 1.0f);

    currentTick = platform::ticks();
    previousTick = currentTick;

    glMaterialfv(GL_FRONT, GL_SPECULAR, MATERIAL_SPECULAR);
    glMaterialf(GL_FRONT, GL_SHININESS, MATERIAL_SHININESS);
    glMaterialfv(GL_FRONT, GL_AMBIENT, MATERIAL_AMBIENT);
    glMaterialfv(GL_FRONT, GL_DIFFUSE, MATERIAL_DIFFUSE);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, LIGHT_DIFFUSE);
    glLightfv(GL_LIGHT0, GL_SPECULAR, LIGHT_SPECULAR);
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, LIGHT_MODEL_AMBIENT);

    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    glEnable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);
    glEnable(GL_NORMALIZE);

    // Texture rows are handed over as 2-byte aligned; RGBA rows always are.
    glPixelStorei(GL_UNPACK_ALIGNMENT, 2);
    glClearStencil(0);
    glShadeModel(GL_SMOOTH);

    // Blending stays on for the whole run: the shadow pass depends on it.
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);

    // The modelview matrix stays at its initial identity; every frame pushes
    // and pops it in balance.
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
}

double aspectRatio(int width, int height) {
    // A window shrunk to height 0 would divide by zero.
    return static_cast<double>(width) / static_cast<double>(height > 0 ? height : 1);
}

void onReshape(int width, int height) {
    glViewport(0, 0, width, height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(50.0, aspectRatio(width, height), 1.0, 1000.0);
    glMatrixMode(GL_MODELVIEW);
}

void onKeyboard(unsigned char key, int, int) {
    if (key == ESCAPE_KEY) {
        platform::exitProcess(0);
    }
}
