#include <SDL_audio.h>

#include <algorithm>
#include <cstring>
#include <deque>
#include <new>

// A queue of frames already in the mix's layout. Every sound reaches it at
// the mix's rate, so the only conversion is of channels: a mono sound plays
// on both sides as SDL plays it, and a sound of more than two channels
// keeps its first two.
struct SDL_AudioStream {
    int sourceChannels = 0;
    int targetChannels = 0;
    std::deque<float> samples;
};

extern "C" {

SDL_AudioStream* SDL_NewAudioStream(SDL_AudioFormat sourceFormat, Uint8 sourceChannels, int sourceRate,
                                    SDL_AudioFormat targetFormat, Uint8 targetChannels, int targetRate) {
    if (sourceFormat != AUDIO_F32SYS || targetFormat != AUDIO_F32SYS || sourceRate != targetRate ||
        sourceChannels == 0 || targetChannels == 0 || targetChannels > 2) {
        return nullptr;
    }
    SDL_AudioStream* stream = new (std::nothrow) SDL_AudioStream;
    if (stream) {
        stream->sourceChannels = sourceChannels;
        stream->targetChannels = targetChannels;
    }
    return stream;
}

int SDL_AudioStreamPut(SDL_AudioStream* stream, const void* buffer, int bytes) {
    if (!stream || !buffer || bytes < 0) {
        return -1;
    }
    const float* source = static_cast<const float*>(buffer);
    const int frames = bytes / static_cast<int>(sizeof(float)) / stream->sourceChannels;
    for (int frame = 0; frame < frames; ++frame, source += stream->sourceChannels) {
        for (int channel = 0; channel < stream->targetChannels; ++channel) {
            stream->samples.push_back(source[std::min(channel, stream->sourceChannels - 1)]);
        }
    }
    return 0;
}

int SDL_AudioStreamGet(SDL_AudioStream* stream, void* buffer, int bytes) {
    if (!stream || !buffer || bytes < 0) {
        return -1;
    }
    const std::size_t frameSamples = static_cast<std::size_t>(stream->targetChannels);
    std::size_t wanted = static_cast<std::size_t>(bytes) / sizeof(float) / frameSamples * frameSamples;
    std::size_t count = std::min(wanted, stream->samples.size());
    std::copy_n(stream->samples.begin(), count, static_cast<float*>(buffer));
    stream->samples.erase(stream->samples.begin(), stream->samples.begin() + static_cast<long>(count));
    return static_cast<int>(count * sizeof(float));
}

int SDL_AudioStreamAvailable(SDL_AudioStream* stream) {
    return stream ? static_cast<int>(stream->samples.size() * sizeof(float)) : 0;
}

// Nothing is held back for a resampler, so there is nothing to flush.
int SDL_AudioStreamFlush(SDL_AudioStream* stream) {
    return stream ? 0 : -1;
}

void SDL_FreeAudioStream(SDL_AudioStream* stream) {
    delete stream;
}
}
