#include "audio/Channel.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "audio/AudioResult.h"
#include "audio/MixFormat.h"
#include "platform/FileBytes.h"

namespace {

// Source frames decoded per read. Also the length of the silence put in before
// the final flush, which must be about this long (see feedConverter).
constexpr int DECODE_BLOCK_FRAMES = 1024;

// The layouts and rates real files have. SDL's converter takes channel
// counts as 8-bit values (256 channels wrap to 0 and divide by it) and
// resamples absurd rates into absurd amounts of memory, so nothing outside
// these reaches it.
constexpr int MIN_SOURCE_CHANNELS = 1;
constexpr int MAX_SOURCE_CHANNELS = 8;
constexpr int MIN_SOURCE_RATE = 1000;
constexpr int MAX_SOURCE_RATE = 384000;

bool formatSupported(const SF_INFO& info) {
    return info.channels >= MIN_SOURCE_CHANNELS && info.channels <= MAX_SOURCE_CHANNELS &&
           info.samplerate >= MIN_SOURCE_RATE && info.samplerate <= MAX_SOURCE_RATE;
}

bool isEmptyFile(int descriptor) {
    struct stat status {};
    return ::fstat(descriptor, &status) == 0 && status.st_size == 0;
}

}  // namespace

int Channel::open(const char* path, Channel** opened) {
    *opened = nullptr;
    if (!path) {
        return AUDIO_INVALID_PARAMETER;
    }
    // Decided here first: libsndfile's own codes for a missing file and for a
    // broken MP3 are easy to confuse. A FIFO or device is not a sound file.
    int descriptor = platform::openRegularFile(path);
    if (descriptor < 0) {
        return AUDIO_FILE_NOT_FOUND;
    }
    // The file is there but holds no audio, whatever its name says.
    if (isEmptyFile(descriptor)) {
        ::close(descriptor);
        return AUDIO_UNSUPPORTED_FORMAT;
    }
    SF_INFO info = {};
    SNDFILE* file = sf_open_fd(descriptor, SFM_READ, &info, SF_FALSE);
    if (!file) {
        ::close(descriptor);
        return sf_error(nullptr) == SF_ERR_UNRECOGNISED_FORMAT ? AUDIO_UNSUPPORTED_FORMAT : AUDIO_FILE_UNREADABLE;
    }
    SDL_AudioStream* converter = nullptr;
    if (formatSupported(info)) {
        converter =
            SDL_NewAudioStream(AUDIO_F32SYS, info.channels, info.samplerate, AUDIO_F32SYS, MIX_CHANNELS, MIX_RATE);
    }
    if (!converter) {
        sf_close(file);
        ::close(descriptor);
        return AUDIO_UNSUPPORTED_FORMAT;
    }

    Channel* channel = new Channel;
    channel->descriptor = descriptor;
    channel->file = file;
    channel->sourceChannels = info.channels;
    channel->sourceRate = info.samplerate;
    channel->converter = converter;
    channel->decodeBlock.assign(static_cast<size_t>(DECODE_BLOCK_FRAMES) * info.channels, 0.0f);
    *opened = channel;
    return AUDIO_OK;
}

Channel::~Channel() {
    if (converter) {
        SDL_FreeAudioStream(converter);
    }
    if (file) {
        sf_close(file);
    }
    if (descriptor >= 0) {
        ::close(descriptor);
    }
}

void Channel::mixInto(float* mix, int frames, float* scratch, int scratchFrames) {
    int done = 0;
    while (done < frames && !finished) {
        // The length is known once the decoder has run dry; what the converter
        // holds beyond it is the padding silence.
        std::int64_t framesLeft = endQueued ? lengthInMixFrames() - mixedFrames : INT64_MAX;
        int ready = SDL_AudioStreamAvailable(converter) / MIX_FRAME_BYTES;
        if (framesLeft <= 0 || (ready == 0 && endQueued)) {
            finished = true;
            break;
        }
        if (ready == 0) {
            feedConverter();
            continue;
        }
        int wanted = static_cast<int>(std::min<std::int64_t>({ready, frames - done, scratchFrames, framesLeft}));
        int got = SDL_AudioStreamGet(converter, scratch, wanted * MIX_FRAME_BYTES) / MIX_FRAME_BYTES;
        if (got <= 0) {
            finished = true;
            break;
        }
        float* target = mix + static_cast<size_t>(done) * MIX_CHANNELS;
        for (int i = 0; i < got * MIX_CHANNELS; ++i) {
            target[i] += scratch[i];
        }
        done += got;
        mixedFrames += got;
    }
}

void Channel::feedConverter() {
    sf_count_t got = sf_readf_float(file, decodeBlock.data(), DECODE_BLOCK_FRAMES);
    if (got > 0) {
        // A float file may hold NaN or infinity; the resampler would spread
        // either over its neighbours and the final clamp lets NaN through.
        for (sf_count_t i = 0; i < got * sourceChannels; ++i) {
            if (!std::isfinite(decodeBlock[static_cast<size_t>(i)])) {
                decodeBlock[static_cast<size_t>(i)] = 0.0f;
            }
        }
        decodedFrames += got;
        int bytes = static_cast<int>(got) * sourceChannels * static_cast<int>(sizeof(float));
        if (SDL_AudioStreamPut(converter, decodeBlock.data(), bytes) != 0) {
            // Out of memory inside SDL: end the sound rather than loop on it.
            endQueued = true;
        }
        return;
    }
    // The decoder has run dry: this, not the frame count in the file's header
    // (only an estimate for MP3), is the end of the sound. SDL 2.26 drops the
    // last few hundred input frames of a resampling stream on flush, so a block
    // of silence goes in first to carry the real end through the resampler.
    std::fill(decodeBlock.begin(), decodeBlock.end(), 0.0f);
    SDL_AudioStreamPut(converter, decodeBlock.data(), static_cast<int>(decodeBlock.size() * sizeof(float)));
    SDL_AudioStreamFlush(converter);
    endQueued = true;
}

std::int64_t Channel::lengthInMixFrames() const {
    // Rounded up, so the last partial output frame of the source is kept.
    return (decodedFrames * MIX_RATE + sourceRate - 1) / sourceRate;
}
