// getzorbi-capture: records the show to pictures, a video with its sound, or
// a timedemo, playing it with the demo's own code on a virtual clock.

#include <GL/gl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "CaptureOptions.h"
#include "EndingFade.h"
#include "Interruption.h"
#include "OffscreenTarget.h"
#include "PngFile.h"
#include "ProgressBar.h"
#include "ShowPlayer.h"
#include "SoundTrack.h"
#include "Timedemo.h"
#include "VideoEncoder.h"
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

bool savePicture(const ShowPlayer& player, const std::string& path) {
    if (!writePng(path, player.width, player.height, toTopDownRgb(player.picture(), player.width, player.height))) {
        std::fprintf(stderr, "getzorbi-capture: cannot write %s\n", path.c_str());
        return false;
    }
    return true;
}

void reportWritten(const std::string& what) {
    std::printf("getzorbi-capture: wrote %s\n", what.c_str());
    std::fflush(stdout);
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

// The sound from the first frame written to the end of the last one.
std::vector<float> soundOfWrittenFrames(ShowPlayer& player, int firstWritten) {
    player.finishSound();
    size_t from = std::min(player.sound.size(), static_cast<size_t>(player.soundSampleOf(firstWritten) * 2));
    return std::vector<float>(player.sound.begin() + static_cast<long>(from), player.sound.end());
}

// Where the video is made; it takes the name asked for only once it is
// whole. The same extension, from which ffmpeg takes the container.
std::string partialVideoName(const std::string& videoFile) {
    return videoFile + ".partial" + std::filesystem::path(videoFile).extension().string();
}

bool writeVideo(const std::string& silentVideo, const std::string& soundFile, const CaptureOptions& options) {
    std::string partial = partialVideoName(options.videoFile);
    bool muxed = muxSound(silentVideo, soundFile, partial);
    std::filesystem::remove(silentVideo);
    if (options.audioFile.empty()) {
        std::filesystem::remove(soundFile);
    }
    if (!muxed) {
        std::filesystem::remove(partial);
        std::fprintf(stderr, "getzorbi-capture: ffmpeg could not put the sound under %s\n", options.videoFile.c_str());
        return false;
    }
    return publishFinishedFile(partial, options.videoFile);
}

int runCapture(ShowPlayer& player, const CaptureOptions& options) {
    int firstWritten = player.frameAt(options.startSeconds);
    int lastFrame = player.frameAt(options.endSeconds);
    std::vector<int> stillFrames;
    for (double seconds : options.stills) {
        stillFrames.push_back(player.frameAt(seconds));
        lastFrame = std::max(lastFrame, stillFrames.back());
    }
    if (!options.stills.empty() && !options.sequence && options.videoFile.empty() && options.audioFile.empty()) {
        lastFrame = *std::max_element(stillFrames.begin(), stillFrames.end());
    }

    VideoEncoder video;
    std::string silentVideo = options.videoFile + ".silent.mp4";
    if (!options.videoFile.empty()) {
        std::vector<std::string> temporaries = {silentVideo, partialVideoName(options.videoFile)};
        if (options.audioFile.empty()) {
            temporaries.push_back(options.videoFile + ".wav");
        }
        removeOnInterrupt(temporaries, "getzorbi-capture: interrupted, no video written to " + options.videoFile);
    }
    if (!options.videoFile.empty() && !video.open(silentVideo, player.width, player.height, player.framesPerSecond)) {
        return 1;
    }
    ProgressBar progress(lastFrame + 1);
    // Named once the progress display is done with the terminal line.
    std::vector<std::string> stillsWritten;
    int framesWritten = 0;
    bool ok = true;
    for (int frame = 0; frame <= lastFrame && ok; ++frame) {
        player.playNextFrame();
        for (size_t i = 0; i < stillFrames.size(); ++i) {
            if (stillFrames[i] != frame) {
                continue;
            }
            const std::string path = options.outputFolder + "/" + stillFileName(options.stills[i]);
            if (savePicture(player, path)) {
                stillsWritten.push_back(path);
            } else {
                ok = false;
            }
        }
        if (frame >= firstWritten && options.sequence) {
            if (savePicture(player, options.outputFolder + "/" + frameFileName(frame))) {
                ++framesWritten;
            } else {
                ok = false;
            }
        }
        if (frame >= firstWritten && !options.videoFile.empty()) {
            const double secondsBeforeEnd = player.secondsOf(lastFrame - frame);
            ok = video.addFrame(fadedPicture(player.picture(), endingFadeGain(secondsBeforeEnd))) && ok;
        }
        progress.update(frame + 1);
    }
    progress.finish();
    for (const std::string& still : stillsWritten) {
        reportWritten(still);
    }
    if (framesWritten > 0) {
        reportWritten(std::to_string(framesWritten) + " frames, " + frameFileName(firstWritten) + " to " +
                      frameFileName(firstWritten + framesWritten - 1) + ", in " + options.outputFolder);
    }
    if (!options.videoFile.empty() && !video.close()) {
        // Whatever ffmpeg wrote before it failed is no video.
        std::remove(silentVideo.c_str());
        std::fprintf(stderr, "getzorbi-capture: ffmpeg failed while encoding %s\n", options.videoFile.c_str());
        return 1;
    }
    if (!ok) {
        return 1;
    }

    if (player.keepSound) {
        std::vector<float> sound = soundOfWrittenFrames(player, firstWritten);
        fadeSoundTrackEnd(sound, ShowPlayer::AUDIO_RATE);
        std::string soundFile = options.audioFile.empty() ? options.videoFile + ".wav" : options.audioFile;
        if (!writeSoundTrack(soundFile, sound, ShowPlayer::AUDIO_RATE)) {
            return 1;
        }
        if (!options.audioFile.empty()) {
            reportWritten(options.audioFile);
        }
        if (!options.videoFile.empty()) {
            ok = writeVideo(silentVideo, soundFile, options);
            if (ok) {
                reportWritten(options.videoFile);
            }
        }
    }
    return ok ? 0 : 1;
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
        std::fputs(CAPTURE_USAGE, stdout);
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
