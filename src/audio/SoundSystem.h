#pragma once

#include <SDL_audio.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "audio/Mixer.h"
#include "audio/Sound.h"

// The audio system: an output device fed by a mixer of up to maxChannels
// streams. Every call returns a result code (0 is success, see AudioResult.h)
// and leaves the system usable after a failure.
//
// Threads: the device callback runs the mixer on SDL's audio thread. The
// calls below come from one thread; they open files and set up converters
// without any lock and take the device lock only to put a ready channel into
// its slot. The callback never waits for them.
// Whether playSound starts a channel playing or paused.
enum class ChannelStart { Playing, Paused };

class SoundSystem {
public:
    // init flag: open no device and start no thread. The mix advances only
    // when the caller pulls frames with render, which makes it exact and
    // repeatable: a cue started after rendering N frames begins at frame N.
    static constexpr unsigned INIT_NO_DEVICE = 1;

    SoundSystem() = default;
    ~SoundSystem();
    SoundSystem(const SoundSystem&) = delete;
    SoundSystem& operator=(const SoundSystem&) = delete;

    // Opens the output (float stereo at 44.1 kHz) for up to `maxChannels`
    // simultaneous channels. When no device can be opened, SDL's audio is
    // restarted on its silent dummy driver, which still plays every stream in
    // real time, and init succeeds.
    int init(int maxChannels, unsigned flags);

    // Checks and opens `path` for playing: 22 when it is not a regular file,
    // 24 when its format is not recognised, 19 for other open failures. The
    // sound is decoded while it plays, never loaded whole; it stays owned by
    // the system.
    int createStream(const char* path, Sound** sound);

    // Starts `sound` at once on slot `channelIndex`, or on any free slot for
    // ANY_FREE_CHANNEL (10 when none is free). The channel frees its slot by
    // itself when its decoder runs dry; `*channel` stays valid until a later
    // play clears the finished channel out.
    // A paused channel holds its slot and mixes nothing.
    int playSound(int channelIndex, Sound* sound, ChannelStart start, Channel** channel);

    // Off-line rendering (INIT_NO_DEVICE only): writes the next `frames`
    // interleaved stereo frames of the mix into `out`.
    int render(float* out, int frames);

    Mixer mixer;
    SDL_AudioDeviceID device = 0;  // 0 without a device
    bool initialised = false;
    bool rendersOffline = false;
    bool audioSubsystemStarted = false;  // this system holds a reference on SDL's audio subsystem
    std::int64_t renderedFrames = 0;     // frames pulled by render so far: the off-line clock
    std::vector<std::unique_ptr<Sound>> sounds;

private:
    int openDevice();
    bool startAudioAndOpenDevice();
    void stopAudio();
};

// Makes a new, not yet initialised system in `*system` (null on failure).
int createSoundSystem(SoundSystem** system);
