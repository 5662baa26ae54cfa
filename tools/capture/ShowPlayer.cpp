#include "ShowPlayer.h"

#include <GL/glew.h>
#include <GL/freeglut.h>

#include <cmath>
#include <cstdio>

#include "app/FrameClock.h"
#include "app/ShowStart.h"
#include "audio/Audio.h"
#include "audio/SoundSystem.h"
#include "demo/FrameComposition.h"
#include "platform/Clock.h"

namespace {

// The virtual clock: milliseconds of show time, moved only by the player.
int virtualNow = 0;
int virtualTicks() {
    return virtualNow;
}
void noSleep(int) {}

constexpr int MIX_CHUNK = 4096;

}  // namespace

ShowPlayer::ShowPlayer(int pictureWidth, int pictureHeight, int rate)
    : width(pictureWidth), height(pictureHeight), framesPerSecond(rate) {}

int ShowPlayer::frameAt(double seconds) const {
    return static_cast<int>(std::llround(seconds * framesPerSecond));
}

bool ShowPlayer::start(const std::string& dataFolder) {
    platform::setTickFunction(virtualTicks);
    platform::setSleepFunction(noSleep);
    virtualNow = 0;

    ShowOptions options;
    options.output = ShowOutput::OFFSCREEN;
    options.programName = "getzorbi-capture";
    options.openOffscreen = [this] { return openTarget(); };
    options.pictureWidth = width;
    options.pictureHeight = height;
    options.dataFolder = dataFolder;
    options.audioFlags = SoundSystem::INIT_NO_DEVICE;
    options.enterMainLoop = false;
    return startShow(options);
}

bool ShowPlayer::openTarget() {
    // The small window is there only for its GL context.
    glutInitWindowSize(64, 64);
    glutCreateWindow("Get Zorbi capture");
    glewInit();
    target = std::make_unique<OffscreenTarget>(width, height);
    if (!target->complete()) {
        std::fprintf(stderr, "getzorbi-capture: the GL driver cannot render off screen at %dx%d\n", width, height);
        return false;
    }
    target->bind();
    return true;
}

void ShowPlayer::mixSoundUntil(long long sample) {
    float chunk[MIX_CHUNK * 2];
    while (soundSamplesMixed < sample) {
        int frames = static_cast<int>(std::min<long long>(MIX_CHUNK, sample - soundSamplesMixed));
        audioSystem->render(chunk, frames);
        if (keepSound) {
            sound.insert(sound.end(), chunk, chunk + frames * 2);
        }
        soundSamplesMixed += frames;
    }
}

void ShowPlayer::playNextFrame() {
    // Cues fired by this frame's timeline step start exactly at its moment.
    mixSoundUntil(soundSampleOf(nextFrame));
    virtualNow = static_cast<int>(std::llround(nextFrame * 1000.0 / framesPerSecond));
    tickFrameClock();
    playFrame();
    ++nextFrame;
}
