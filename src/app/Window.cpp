#include "app/Window.h"

#include <GL/freeglut.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "app/FrameClock.h"
#include "app/GLState.h"
#include "demo/FrameComposition.h"

void initDisplay(const char* programName) {
    // freeglut must be initialised before anything else; it is handed only the
    // program's name, since the demo reads no command line.
    int argumentCount = 1;
    char* arguments[] = {const_cast<char*>(programName), nullptr};
    glutInit(&argumentCount, arguments);
    glutInitDisplayMode(GLUT_RGBA | GLUT_DOUBLE | GLUT_DEPTH | GLUT_STENCIL);
}

namespace {

// X has no window side of 0 pixels and takes sides modulo 65536: a setting
// that is not a number (0) or a multiple of 65536 would end the process with
// an X protocol error at the first reshape, so each side is kept within 1 to
// 65535.
int windowSide(const std::string& setting) {
    return std::clamp(decimalValue(setting), 1, 65535);
}

// The largest window the GL implementation renders: beyond the viewport
// limit Mesa's software path leaves the window black or crashes, and X cannot
// take sides near 32767. A window larger than the screen is fine: X shows
// the part the screen holds. Needs the window's context current.
void largestWindow(int& width, int& height) {
    GLint viewport[2] = {0, 0};
    glGetIntegerv(GL_MAX_VIEWPORT_DIMS, viewport);
    width = viewport[0];
    height = viewport[1];
}

void openWindow(const Settings& from) {
    glutCreateWindow(WINDOW_TITLE);
    // Closing the window ends the process through the normal exit routine.
    glutSetOption(GLUT_ACTION_ON_WINDOW_CLOSE, GLUT_ACTION_EXIT);
    int width = windowSide(from.width);
    int height = windowSide(from.height);
    int maxWidth = 0, maxHeight = 0;
    largestWindow(maxWidth, maxHeight);
    // A limit that cannot be read (0) leaves the side as it is.
    if (maxWidth > 0) {
        width = std::min(width, maxWidth);
    }
    if (maxHeight > 0) {
        height = std::min(height, maxHeight);
    }
    if (width != decimalValue(from.width) || height != decimalValue(from.height)) {
        std::fprintf(stderr, "Window size %sx%s cannot be shown here: using %dx%d.\n", from.width.c_str(),
                     from.height.c_str(), width, height);
        std::fflush(stderr);
    }
    glutReshapeWindow(width, height);
}

bool enterGameMode(const Settings& from) {
    std::string mode = gameModeString(from);
    glutGameModeString(mode.c_str());
    glutEnterGameMode();
    return glutGameModeGet(GLUT_GAME_MODE_ACTIVE) != 0;
}

}  // namespace

bool asksForGameMode(const Settings& from) {
    return from.fullscreen == "1";
}

void openOutput(const Settings& from) {
    if (asksForGameMode(from) && enterGameMode(from)) {
        return;
    }
    openWindow(from);
}

void registerCallbacks() {
    glutReshapeFunc(onReshape);
    glutIdleFunc(onIdle);
    glutDisplayFunc(onDisplay);
    glutKeyboardFunc(onKeyboard);
}

void printBanner(const std::string& modeString) {
    std::printf("GLUT version: %d ::: ClocksPerSec: %d\n", GLUT_API_VERSION_NUMBER, TICKS_PER_SECOND);
    std::fflush(stdout);
    std::printf("Loading Demo with settings: %s... \n", modeString.c_str());
    std::fflush(stdout);
}
