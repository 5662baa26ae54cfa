// Feeds arbitrary bytes to the audio layer as a sound file: the real open
// (format checks, libsndfile's WAV and MP3 decoders), SDL's resampling and
// channel conversion, and the mixer. Whatever opens must mix to finite
// samples within [-1, 1] and end; a file refused with a code is an answer.

#include <unistd.h>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "audio/AudioResult.h"
#include "audio/Channel.h"
#include "audio/MixFormat.h"
#include "audio/Mixer.h"
#include "audio/SoundSystem.h"

namespace {

// More than any seed lasts at the slowest rate the layer takes; a fuzzed
// header may claim hours, and only the mixing of a few seconds is of use.
constexpr int MAX_MIXED_FRAMES = 4 * MIX_RATE;
constexpr int CHUNK_FRAMES = 1024;

// The layer opens sound files by path only, so every input goes to disk.
const std::string& inputPath() {
    static const std::string path = "/tmp/fuzz_audio_" + std::to_string(getpid()) + ".snd";
    return path;
}

void removeInput() {
    std::remove(inputPath().c_str());
}

bool writeInput(const std::string& path, const std::uint8_t* data, std::size_t size) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) {
        return false;
    }
    bool written = std::fwrite(data, 1, size, file) == size;
    return std::fclose(file) == 0 && written;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const bool cleanupRegistered = std::atexit(removeInput) == 0;
    (void)cleanupRegistered;
    const std::string& path = inputPath();
    if (!writeInput(path, data, size)) {
        std::abort();
    }
    Channel* channel = nullptr;
    int result = Channel::open(path.c_str(), &channel);
    if (result != AUDIO_OK) {
        if (channel != nullptr) {
            std::abort();
        }
        return 0;
    }

    Mixer mixer;
    mixer.setChannelCount(1);
    std::vector<Channel*> retired;
    if (mixer.place(channel, ANY_FREE_CHANNEL, retired) != AUDIO_OK || !retired.empty()) {
        std::abort();
    }
    std::vector<float> mix(static_cast<std::size_t>(CHUNK_FRAMES) * MIX_CHANNELS);
    for (int mixed = 0; mixed < MAX_MIXED_FRAMES && mixer.playingCount() > 0; mixed += CHUNK_FRAMES) {
        mixer.mix(mix.data(), CHUNK_FRAMES);
        for (float sample : mix) {
            if (!std::isfinite(sample) || sample < -1.0f || sample > 1.0f) {
                std::fprintf(stderr, "mixed sample %g after %d frames\n", double(sample), mixed);
                std::abort();
            }
        }
    }
    return 0;
}
