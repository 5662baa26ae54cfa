#include "CaptureRun.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "EndingFade.h"
#include "FinishedFile.h"
#include "Interruption.h"
#include "PngFile.h"
#include "ProgressBar.h"
#include "SoundTrack.h"
#include "VideoEncoder.h"

namespace {

// What a run plays and writes, in frames of the show.
struct FramePlan {
    int firstWritten = 0;          // the first frame of the sequence, the video and the sound
    int lastFrame = 0;             // the last frame played
    std::vector<int> stillFrames;  // the frame of each still, in the order asked for
};

FramePlan planFrames(const ShowPlayer& player, const CaptureOptions& options) {
    FramePlan plan;
    plan.firstWritten = player.frameAt(options.startSeconds);
    plan.lastFrame = player.frameAt(options.endSeconds);
    for (double seconds : options.stills) {
        plan.stillFrames.push_back(player.frameAt(seconds));
    }
    if (!plan.stillFrames.empty()) {
        // Stills alone need the show only up to the last of them; anything
        // else plays to the end, and on to a still after it.
        const bool stillsOnly = !options.sequence && options.videoFile.empty() && options.audioFile.empty();
        const int lastStill = *std::max_element(plan.stillFrames.begin(), plan.stillFrames.end());
        plan.lastFrame = stillsOnly ? lastStill : std::max(plan.lastFrame, lastStill);
    }
    return plan;
}

void reportWritten(const std::string& what) {
    std::printf("getzorbi-capture: wrote %s\n", what.c_str());
    std::fflush(stdout);
}

// The stills and the sequence: PNG files in the output folder, named on
// standard output once the progress display is done with the terminal line.
class PictureFiles {
public:
    PictureFiles(const CaptureOptions& options, const FramePlan& plan) : options(options), plan(plan) {}

    // Saves what the plan wants of `frame`, the frame just played; false
    // after a message.
    bool save(const ShowPlayer& player, int frame) {
        for (size_t i = 0; i < plan.stillFrames.size(); ++i) {
            if (plan.stillFrames[i] != frame) {
                continue;
            }
            const std::string path = options.outputFolder + "/" + stillFileName(options.stills[i]);
            if (!savePicture(player, path)) {
                return false;
            }
            stillsWritten.push_back(path);
        }
        if (options.sequence && frame >= plan.firstWritten) {
            if (!savePicture(player, options.outputFolder + "/" + frameFileName(frame))) {
                return false;
            }
            ++framesWritten;
        }
        return true;
    }

    void report() const {
        for (const std::string& still : stillsWritten) {
            reportWritten(still);
        }
        if (framesWritten > 0) {
            reportWritten(std::to_string(framesWritten) + " frames, " + frameFileName(plan.firstWritten) + " to " +
                          frameFileName(plan.firstWritten + framesWritten - 1) + ", in " + options.outputFolder);
        }
    }

private:
    static bool savePicture(const ShowPlayer& player, const std::string& path) {
        std::string error;
        const int width = player.width, height = player.height;
        if (!writePng(path, width, height, toTopDownRgb(player.picture(), width, height), error)) {
            std::fprintf(stderr, "getzorbi-capture: %s\n", error.c_str());
            return false;
        }
        return true;
    }

    const CaptureOptions& options;
    const FramePlan& plan;
    std::vector<std::string> stillsWritten;
    int framesWritten = 0;
};

// The sound track: the --audio file, or the one the video is given, which
// lies beside the video until it is put under its frames.
std::string soundTrackFile(const CaptureOptions& options) {
    return options.audioFile.empty() ? options.videoFile + ".wav" : options.audioFile;
}

// The sound from the first frame written to the end of the last one, fading
// out at the end; false after a message.
bool writeSound(ShowPlayer& player, const FramePlan& plan, const CaptureOptions& options) {
    player.finishSound();
    const size_t from = std::min(player.sound.size(), static_cast<size_t>(player.soundSampleOf(plan.firstWritten) * 2));
    std::vector<float> sound(player.sound.begin() + static_cast<long>(from), player.sound.end());
    fadeSoundTrackEnd(sound, ShowPlayer::AUDIO_RATE);
    if (!writeSoundTrack(soundTrackFile(options), sound, ShowPlayer::AUDIO_RATE)) {
        return false;
    }
    if (!options.audioFile.empty()) {
        reportWritten(options.audioFile);
    }
    return true;
}

// The video: each frame written goes to ffmpeg as it is played, the sound
// goes under the frames at the end, and the video takes its name only once
// it is whole. Does nothing when no video is asked for.
class VideoOutput {
public:
    VideoOutput(const CaptureOptions& options, const FramePlan& plan)
        : options(options), plan(plan), silentVideo(options.videoFile + ".silent.mp4") {}

    // Starts ffmpeg; from here on an interruption removes every file of the
    // video in progress. False after a message.
    bool open(const ShowPlayer& player) {
        if (!wanted()) {
            return true;
        }
        const std::string soundFile = soundTrackFile(options);
        std::vector<std::string> temporaries = {silentVideo, partialFileName(options.videoFile),
                                                partialFileName(soundFile)};
        if (options.audioFile.empty()) {
            temporaries.push_back(soundFile);
        }
        removeOnInterrupt(temporaries, "getzorbi-capture: interrupted, no video written to " + options.videoFile);
        return encoder.open(silentVideo, player.width, player.height, player.framesPerSecond);
    }

    // Hands ffmpeg the frame just played, if the video holds it; false once
    // ffmpeg has stopped taking frames.
    bool add(const ShowPlayer& player, int frame) {
        if (!wanted() || frame < plan.firstWritten) {
            return true;
        }
        const double secondsBeforeEnd = player.secondsOf(plan.lastFrame - frame);
        return encoder.addFrame(fadedPicture(player.picture(), endingFadeGain(secondsBeforeEnd)));
    }

    // Waits for ffmpeg to finish the frames; false after a message.
    bool finishEncoding() {
        if (!wanted() || encoder.close()) {
            return true;
        }
        std::fprintf(stderr, "getzorbi-capture: ffmpeg failed while encoding %s\n", options.videoFile.c_str());
        return false;
    }

    // A run that failed leaves nothing of its video: neither what ffmpeg
    // wrote before it failed nor frames without their sound.
    void abandon() {
        if (wanted()) {
            std::remove(silentVideo.c_str());
        }
    }

    // Puts the sound track under the frames and gives the video its name;
    // false after a message.
    bool addSound() {
        if (!wanted()) {
            return true;
        }
        const std::string soundFile = soundTrackFile(options);
        const std::string partial = partialFileName(options.videoFile);
        const bool muxed = muxSound(silentVideo, soundFile, partial);
        std::remove(silentVideo.c_str());
        if (options.audioFile.empty()) {
            std::remove(soundFile.c_str());
        }
        if (!muxed) {
            std::remove(partial.c_str());
            std::fprintf(stderr, "getzorbi-capture: ffmpeg could not put the sound under %s\n",
                         options.videoFile.c_str());
            return false;
        }
        if (!publishFinishedFile(partial, options.videoFile)) {
            return false;
        }
        reportWritten(options.videoFile);
        return true;
    }

private:
    bool wanted() const { return !options.videoFile.empty(); }

    const CaptureOptions& options;
    const FramePlan& plan;
    const std::string silentVideo;
    VideoEncoder encoder;
};

}  // namespace

int runCapture(ShowPlayer& player, const CaptureOptions& options) {
    const FramePlan plan = planFrames(player, options);
    PictureFiles pictures(options, plan);
    VideoOutput video(options, plan);
    if (!video.open(player)) {
        return 1;
    }
    ProgressBar progress(plan.lastFrame + 1);
    bool written = true;
    for (int frame = 0; frame <= plan.lastFrame && written; ++frame) {
        player.playNextFrame();
        written = pictures.save(player, frame) && video.add(player, frame);
        // A frame that was not written whole is no progress.
        if (written) {
            progress.update(frame + 1);
        }
    }
    progress.finish();
    pictures.report();
    const bool encoded = video.finishEncoding();
    if (!written || !encoded || (player.keepSound && !writeSound(player, plan, options))) {
        video.abandon();
        return 1;
    }
    return video.addSound() ? 0 : 1;
}
