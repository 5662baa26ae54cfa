#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "OffscreenTarget.h"
#include "ShowFacts.h"

// Plays the show with the demo's own start-up, timeline and frame code, on a
// virtual clock instead of the wall clock, into an off-screen picture. Frame
// i happens at i / framesPerSecond seconds after the start time, so the same
// settings give the same frames and the same sound on every run.
class ShowPlayer {
public:
    static constexpr int AUDIO_RATE = MIX_RATE;

    ShowPlayer(int width, int height, int framesPerSecond);

    // Opens GL (a small window only for its context), assembles the scene from
    // `dataFolder` with the sound mixed off line. False after a message.
    bool start(const std::string& dataFolder);

    // Plays the next frame: the sound up to its moment, then the frame clock,
    // the timeline step and the drawing, exactly as the demo's callbacks do.
    void playNextFrame();

    // The frame just played, RGBA bottom-up.
    std::vector<std::uint8_t> picture() const { return target->readPixels(); }

    double secondsOf(int frame) const { return static_cast<double>(frame) / framesPerSecond; }
    int frameAt(double seconds) const;

    // The mixed sound from the show's start to the last frame played,
    // interleaved stereo floats at AUDIO_RATE. Collected only when asked for.
    bool keepSound = false;
    std::vector<float> sound;

    const int width;
    const int height;
    const int framesPerSecond;

    // Mixes the sound on to the end of the last frame played.
    void finishSound() { mixSoundUntil(soundSampleOf(nextFrame)); }
    long long soundSampleOf(int frame) const { return static_cast<long long>(frame) * AUDIO_RATE / framesPerSecond; }

private:
    // Opens the GL context and binds the off-screen target; false after a message.
    bool openTarget();
    void mixSoundUntil(long long sample);

    std::unique_ptr<OffscreenTarget> target;
    int nextFrame = 0;
    long long soundSamplesMixed = 0;
};
