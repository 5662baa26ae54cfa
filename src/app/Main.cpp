// Get Zorbi: a self-running real-time 3D demo. Start-up runs once, in a
// straight line; from glutMainLoop on everything happens in the callbacks.

#include <GL/freeglut.h>

#include "app/GLState.h"
#include "app/RunState.h"
#include "app/SceneAssembly.h"
#include "app/Settings.h"
#include "app/Window.h"
#include "platform/Clock.h"

int main(int, char** argv) {
    settings = readSettingsFile("start.ini");
    std::string modeString = gameModeString(settings);

    initDisplay(argv[0]);
    openOutput(settings);
    registerCallbacks();
    initGLState();

    printBanner(modeString);

    assembleScene();
    // Taken after loading, so loading time does not count towards the show.
    startTime = static_cast<float>(platform::ticks());
    glutMainLoop();
    return 0;
}
