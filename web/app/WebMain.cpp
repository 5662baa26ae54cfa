// Get Zorbi in a browser. The show starts as on the desktop (startShow: the
// settings, the canvas for a window, the GL state, the banner, the scene),
// then the page takes over what the desktop's GLUT main loop does: the
// browser's animation frames drive the frames, since a page must hand its
// one thread back to the browser after every frame, and GLUT's own idle
// timer there would run beside the frames, not before each. The show's
// clock starts at the person's click, the end of loading as far as the show
// is concerned. Options come from the page's address (page.js):
//   --still S1,S2,...  play on the capture tool's virtual clock, keep the
//                      picture of each moment and stop after the last
//   --size WxH         the canvas's size instead of start.ini's
#include <GL/freeglut.h>
#include <emscripten.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "ShowFacts.h"
#include "app/FrameClock.h"
#include "app/GLState.h"
#include "app/RunState.h"
#include "app/SceneAssembly.h"
#include "app/ShowStart.h"
#include "audio/SoundSystem.h"
#include "demo/FrameComposition.h"
#include "platform/Clock.h"
#include "platform/ProcessExit.h"
#include "scene/SunLight.h"

extern "C" {
void webInstallGlFixes();
void webAudioTopUp();
void webAudioDecodeSounds(int rate, void (*done)());
}

namespace {

// The capture tool's virtual clock: frame i happens i / 60 s into the show.
constexpr int STILL_FRAMES_PER_SECOND = 60;
// What the desktop program exits with on a refused option.
constexpr int USAGE_STATUS = 2;

struct WebRun {
    std::vector<double> stills;  // seconds, ascending
    int width = 0;               // 0: start.ini's size
    int height = 0;
};

WebRun run;
int framesDrawn = 0;
std::size_t nextStill = 0;
int virtualNow = 0;

int virtualTicks() {
    return virtualNow;
}

// The browser paces frames itself; a sleep would only stall the page.
void noSleep(int) {}

EM_JS(void, pageReady, (), { Module['page'].ready(); });
EM_JS(void, pageFrameDrawn, (int frames), { Module['page'].frameDrawn(frames); });
EM_JS(void, pageStill, (double seconds, const void* pixels, int width, int height),
      { Module['page'].still(seconds, HEAPU8.subarray(pixels, pixels + width * height * 4), width, height); });
EM_JS(void, pageStillsDone, (), { Module['page'].stillsDone(); });
EM_JS(void, pageEnded, (int status), { Module['page'].ended(status); });

[[noreturn]] void refuse(const std::string& message) {
    platform::exitWithMessage(platform::OutputStream::StandardError, "getzorbi: " + message, USAGE_STATUS);
}

std::vector<double> parseStills(const char* text) {
    std::vector<double> seconds;
    const char* at = text;
    while (true) {
        char* end = nullptr;
        double value = std::strtod(at, &end);
        if (end == at || !std::isfinite(value) || value < 0 || (*end != ',' && *end != '\0') ||
            (!seconds.empty() && value <= seconds.back())) {
            refuse(std::string("still takes seconds in ascending order, such as still=1,6.5: not ") + text);
        }
        seconds.push_back(value);
        if (*end == '\0') {
            return seconds;
        }
        at = end + 1;
    }
}

void parseSize(const char* text, int& width, int& height) {
    char tail = 0;
    if (std::sscanf(text, "%dx%d%c", &width, &height, &tail) != 2 || width < 1 || height < 1 || width > 16384 ||
        height > 16384) {
        refuse(std::string("size takes WIDTHxHEIGHT, such as size=800x600: not ") + text);
    }
}

WebRun parseArguments(int count, char** arguments) {
    WebRun parsed;
    for (int i = 1; i < count; ++i) {
        const bool hasValue = i + 1 < count;
        if (std::strcmp(arguments[i], "--still") == 0 && hasValue) {
            parsed.stills = parseStills(arguments[++i]);
        } else if (std::strcmp(arguments[i], "--size") == 0 && hasValue) {
            parseSize(arguments[++i], parsed.width, parsed.height);
        } else {
            refuse(std::string("unknown option ") + arguments[i]);
        }
    }
    return parsed;
}

bool playsStills() {
    return !run.stills.empty();
}

// What the capture tool writes for a still: the frame buffer as it is once
// the frame is drawn.
void keepStill(double seconds) {
    const int width = glutGet(GLUT_WINDOW_WIDTH);
    const int height = glutGet(GLUT_WINDOW_HEIGHT);
    std::vector<unsigned char> pixels(static_cast<std::size_t>(width) * height * 4);
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    pageStill(seconds, pixels.data(), width, height);
}

void playNextFrame() {
    const int frame = framesDrawn;
    if (playsStills()) {
        virtualNow = static_cast<int>(std::llround(frame * 1000.0 / STILL_FRAMES_PER_SECOND));
    }
    tickFrameClock();
    playFrame();
    ++framesDrawn;
    pageFrameDrawn(framesDrawn);
    webAudioTopUp();
    if (playsStills() && frame == std::llround(run.stills[nextStill] * STILL_FRAMES_PER_SECOND)) {
        keepStill(run.stills[nextStill]);
        if (++nextStill == run.stills.size()) {
            emscripten_cancel_main_loop();
            pageStillsDone();
        }
    }
}

// Every way the show ends (Escape, a file it cannot load) comes through
// here before the process would exit: a page cannot end, so the frames stop
// and the page says so.
void endShow(int status) {
    emscripten_cancel_main_loop();
    pageEnded(status);
}

void soundsDecoded() {
    pageReady();
}

}  // namespace

// The page's click, or at once with autostart or stills: the show's clock
// starts here, as it starts after loading on the desktop.
extern "C" EMSCRIPTEN_KEEPALIVE void webStartShow() {
    if (!playsStills()) {
        currentTick = platform::ticks();
        previousTick = currentTick;
        startTime = static_cast<float>(currentTick);
    }
    emscripten_set_main_loop(playNextFrame, 0, false);
}

int main(int argumentCount, char** arguments) {
    platform::setExitHandler(endShow);
    platform::setSleepFunction(noSleep);
    run = parseArguments(argumentCount, arguments);

    ShowOptions options;
    options.enterMainLoop = false;
    if (playsStills()) {
        // As the capture tool plays stills: virtual time and the sound mixed
        // only as far as it is pulled (which no one does), so each cue is
        // still opened at its frame.
        platform::setTickFunction(virtualTicks);
        options.audioFlags = SoundSystem::INIT_NO_DEVICE;
    }
    startShow(options);
    webInstallGlFixes();
    glutIdleFunc(nullptr);
    glutDisplayFunc(nullptr);
    const int width = run.width > 0 ? run.width : glutGet(GLUT_WINDOW_WIDTH);
    const int height = run.height > 0 ? run.height : glutGet(GLUT_WINDOW_HEIGHT);
    // Calls onReshape, which the desktop's window system calls when the
    // window first shows.
    glutReshapeWindow(width, height);
    // The opening picture under the page's "Click to start", which also
    // has the browser compile the shaders the first frames need. The sun
    // stands where the first frame puts it, at the orbit's start.
    sun->update(0.0f);
    drawFrame();
    webAudioDecodeSounds(MIX_RATE, soundsDecoded);
    return 0;
}
