#include "app/ShowStart.h"

#include <GL/freeglut.h>
#include <unistd.h>

#include <cstdio>

#include "app/GLState.h"
#include "app/RunState.h"
#include "app/SceneAssembly.h"
#include "app/Settings.h"
#include "app/Window.h"
#include "audio/Audio.h"
#include "platform/Clock.h"

namespace {

// Everything up to the scene: the output, its callbacks, the GL state and
// the banner, as the output needs them.
bool openShowOutput(const ShowOptions& options) {
    switch (options.output) {
        case ShowOutput::SCREEN: {
            settings = readSettingsFile("start.ini");
            std::string modeString = gameModeString(settings);
            initDisplay(options.programName);
            openOutput(settings);
            registerCallbacks();
            initGLState();
            printBanner(modeString);
            return true;
        }
        case ShowOutput::OFFSCREEN:
            initDisplay(options.programName);
            if (!options.openOffscreen()) {
                return false;
            }
            initGLState();
            // No window calls back with its size: the picture's size sets
            // the viewport and projection once.
            onReshape(options.pictureWidth, options.pictureHeight);
            return true;
        case ShowOutput::CURRENT_CONTEXT:
            return true;
    }
    return false;
}

}  // namespace

bool startShow(const ShowOptions& options) {
    if (!openShowOutput(options)) {
        return false;
    }
    if (!options.dataFolder.empty() && chdir(options.dataFolder.c_str()) != 0) {
        std::fprintf(stderr, "%s: cannot enter the data folder %s\n", options.programName, options.dataFolder.c_str());
        return false;
    }
    audioInitFlags = options.audioFlags;
    assembleScene();
    // Taken after loading, so loading time does not count towards the show.
    startTime = static_cast<float>(platform::ticks());
    if (options.enterMainLoop) {
        glutMainLoop();
    }
    return true;
}
