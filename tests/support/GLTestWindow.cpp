#include "support/GLTestWindow.h"

#include <GL/glew.h>
#include <GL/freeglut.h>

#include "app/GLState.h"

namespace testgl {
namespace {

bool windowOpen = false;

// freeglut ends the process when it dispatches events to a window without a
// display callback; tests draw on their own, so the callback does nothing.
void displayNothing() {}

void openWindow() {
    int argumentCount = 1;
    char name[] = "gltest";
    char* arguments[] = {name, nullptr};
    glutInit(&argumentCount, arguments);
    glutInitDisplayMode(GLUT_RGBA | GLUT_DOUBLE | GLUT_DEPTH | GLUT_STENCIL);
    glutInitWindowSize(WINDOW_WIDTH, WINDOW_HEIGHT);
    glutCreateWindow("gl test");
    glutDisplayFunc(displayNothing);
    glewInit();
    // Let the server map the window before anything is read back.
    for (int i = 0; i < 10; ++i) {
        glutMainLoopEvent();
    }
    windowOpen = true;
}

}  // namespace

void prepareContext() {
    if (!windowOpen) {
        openWindow();
    }
    glUseProgramObjectARB(0);
    glActiveTexture(GL_TEXTURE1);
    glBindTexture(GL_TEXTURE_2D, 0);
    glDisable(GL_TEXTURE_2D);
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, 0);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_STENCIL_TEST);
    glDisable(GL_CULL_FACE);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    initGLState();
    onReshape(WINDOW_WIDTH, WINDOW_HEIGHT);
    glReadBuffer(GL_BACK);
    glDrawBuffer(GL_BACK);
    clearBuffers();
}

void clearBuffers() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
}

std::vector<std::uint8_t> readPixels(int x, int y, int width, int height) {
    std::vector<std::uint8_t> pixels(static_cast<size_t>(width) * height * 4);
    glFinish();
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x, y, width, height, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
}

Rgba readPixel(int x, int y) {
    std::vector<std::uint8_t> pixel = readPixels(x, y, 1, 1);
    return {pixel[0], pixel[1], pixel[2], pixel[3]};
}

double meanBrightness(int x, int y, int width, int height) {
    std::vector<std::uint8_t> pixels = readPixels(x, y, width, height);
    double sum = 0.0;
    for (size_t i = 0; i < pixels.size(); i += 4) {
        sum += (pixels[i] + pixels[i + 1] + pixels[i + 2]) / 3.0;
    }
    return sum / (static_cast<double>(width) * height);
}

}  // namespace testgl
