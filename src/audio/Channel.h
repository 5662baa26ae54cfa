#pragma once

#include <SDL_audio.h>
#include <sndfile.h>

#include <atomic>
#include <cstdint>
#include <vector>

// One sound playing: a file decoded a little at a time and turned into the mix
// format by its own SDL audio stream, which resamples and converts the channel
// layout. The main thread opens it completely (file, decoder, converter,
// buffers); once it sits in a mixer slot only the mixing thread touches it,
// apart from the two atomic flags.
class Channel {
public:
    // Checks and opens `path` and prepares its decoder and converter. Returns a
    // result code; `*opened` is the new channel, or null on failure.
    static int open(const char* path, Channel** opened);

    Channel() = default;
    ~Channel();
    Channel(const Channel&) = delete;
    Channel& operator=(const Channel&) = delete;

    // Adds up to `frames` stereo frames of this sound to `mix`, receiving them
    // through `scratch` (room for `scratchFrames` stereo frames). Sets
    // `finished` once the decoder has run dry and every frame has been mixed.
    // Never blocks on anything but the decoder's own reads.
    void mixInto(float* mix, int frames, float* scratch, int scratchFrames);

    int descriptor = -1;  // the file's, owned here: libsndfile reads through it but does not close it
    SNDFILE* file = nullptr;
    int sourceChannels = 0;
    int sourceRate = 0;  // frames per second of the file
    SDL_AudioStream* converter = nullptr;
    std::vector<float> decodeBlock;  // one block of decoded frames, interleaved as in the file
    std::int64_t decodedFrames = 0;  // source frames the decoder has delivered so far
    std::int64_t mixedFrames = 0;    // output frames already added to the mix
    bool endQueued = false;          // the decoder ran dry and the converter was flushed
    std::atomic<bool> finished{false};
    std::atomic<bool> paused{false};

private:
    void feedConverter();
    std::int64_t lengthInMixFrames() const;
};
