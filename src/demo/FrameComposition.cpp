#include "demo/FrameComposition.h"

#include <GL/freeglut.h>

void onDisplay() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    glutPostRedisplay();
    glutSwapBuffers();
}
