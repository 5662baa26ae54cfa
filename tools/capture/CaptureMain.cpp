// getzorbi-capture: records the show to pictures, a video with its sound, or
// a timedemo, playing it with the demo's own code on a virtual clock.

#include <GL/gl.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "CaptureOptions.h"
#include "CaptureRun.h"
#include "ShowPlayer.h"
#include "Timedemo.h"
#include "demo/FrameComposition.h"
#include "platform/ProcessExit.h"

namespace {

// Frames of the clear-only baseline, timed after the show.
constexpr int BASELINE_FRAMES = 300;
// After every this many timed show frames the timedemo times one floor frame
// at the same moment, so that the two share the machine's load as it drifts
// and their ratio holds on a busy machine.
constexpr int SHOW_FRAMES_PER_FLOOR_FRAME = 8;

std::string absolutePath(const std::string& path) {
    return path.empty() ? path : std::filesystem::absolute(path).lexically_normal().string();
}

// The demo's start-up ends the process on a file it cannot use, and with
// status 0 when the shader does not build; for a tool that is meant to
// leave files behind, every such end is a failure.
[[noreturn]] void startFailed(int status) {
    std::fprintf(stderr, "getzorbi-capture: the show could not start; nothing was written\n");
    std::exit(status == 0 ? 1 : status);
}

double millisecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

int runTimedemo(ShowPlayer& player, const CaptureOptions& options) {
    int firstTimed = player.frameAt(options.startSeconds);
    int lastFrame = player.frameAt(options.endSeconds);
    FrameTimes show;
    FrameTimes floor;
    for (int frame = 0; frame <= lastFrame; ++frame) {
        auto started = std::chrono::steady_clock::now();
        player.playNextFrame();
        glFinish();
        if (frame < firstTimed) {
            continue;
        }
        show.milliseconds.push_back(millisecondsSince(started));
        if ((frame - firstTimed) % SHOW_FRAMES_PER_FLOOR_FRAME == 0) {
            started = std::chrono::steady_clock::now();
            drawFloorFrame();
            glFinish();
            floor.milliseconds.push_back(millisecondsSince(started));
        }
    }
    FrameTimes baseline;
    for (int frame = 0; frame < BASELINE_FRAMES; ++frame) {
        auto started = std::chrono::steady_clock::now();
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
        glFinish();
        baseline.milliseconds.push_back(millisecondsSince(started));
    }
    std::fputs(timedemoReport(show, baseline, floor, peakResidentMemoryKiB()).c_str(), stdout);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    CaptureOptions options;
    std::string error;
    if (!parseCaptureOptions(std::vector<std::string>(argv + 1, argv + argc), options, error)) {
        std::fprintf(stderr, "getzorbi-capture: %s\n(getzorbi-capture --help lists the options)\n", error.c_str());
        return 2;
    }
    if (options.help) {
        std::fputs(CAPTURE_USAGE.c_str(), stdout);
        return 0;
    }
    // The player works inside the data folder; outputs stay where they were asked for.
    options.outputFolder = absolutePath(options.outputFolder);
    options.videoFile = absolutePath(options.videoFile);
    options.audioFile = absolutePath(options.audioFile);
    std::error_code ignored;
    std::filesystem::create_directories(options.outputFolder, ignored);

    ShowPlayer player(options.width, options.height, options.framesPerSecond);
    player.keepSound = !options.videoFile.empty() || !options.audioFile.empty();
    platform::setExitHandler(startFailed);
    if (!player.start(absolutePath(options.dataFolder))) {
        return 1;
    }
    platform::setExitHandler(nullptr);
    return options.timedemo ? runTimedemo(player, options) : runCapture(player, options);
}
