#include "app/Window.h"

#include <GL/freeglut.h>

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

void openWindow(const Settings& from) {
    glutCreateWindow(WINDOW_TITLE);
    // Closing the window ends the process through the normal exit routine.
    glutSetOption(GLUT_ACTION_ON_WINDOW_CLOSE, GLUT_ACTION_EXIT);
    glutReshapeWindow(decimalValue(from.width), decimalValue(from.height));
}

bool enterGameMode(const Settings& from) {
    std::string mode = gameModeString(from);
    glutGameModeString(mode.c_str());
    glutEnterGameMode();
    return glutGameModeGet(GLUT_GAME_MODE_ACTIVE) != 0;
}

}  // namespace

void openOutput(const Settings& from) {
    if (from.fullscreen == "1" && enterGameMode(from)) {
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
