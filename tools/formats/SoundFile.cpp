#include "formats/SoundFile.h"

#include <errno.h>
#include <sndfile.h>

#include <cstdio>
#include <filesystem>

namespace {

// libsndfile maps 0 (best) .. 1 (smallest) onto the encoder's bit rates;
// 0.5 gives 160 kbit/s for 44.1 kHz stereo.
constexpr double MP3_COMPRESSION_LEVEL = 0.5;

int sndfileFormat(SoundEncoding encoding) {
    switch (encoding) {
        case SoundEncoding::Pcm16Wav:
            return SF_FORMAT_WAV | SF_FORMAT_PCM_16;
        case SoundEncoding::FloatWav:
            return SF_FORMAT_WAV | SF_FORMAT_FLOAT;
        case SoundEncoding::Mp3:
            break;
    }
    return SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III;
}

void setConstantBitRate(SNDFILE* file) {
    // The mode first: the compression level is read as a bit rate for it.
    int bitrateMode = SF_BITRATE_MODE_CONSTANT;
    sf_command(file, SFC_SET_BITRATE_MODE, &bitrateMode, sizeof(bitrateMode));
    double compressionLevel = MP3_COMPRESSION_LEVEL;
    sf_command(file, SFC_SET_COMPRESSION_LEVEL, &compressionLevel, sizeof(compressionLevel));
}

}  // namespace

SoundFile readSoundFile(const std::string& path) {
    SoundFile sound;
    SF_INFO info{};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    if (file == nullptr) {
        return sound;
    }
    sound.opened = true;
    sound.channels = info.channels;
    sound.rate = info.samplerate;
    sound.samples.resize(static_cast<size_t>(info.frames) * info.channels);
    const sf_count_t frames = sf_readf_float(file, sound.samples.data(), info.frames);
    sound.samples.resize(static_cast<size_t>(frames) * info.channels);
    sf_close(file);
    return sound;
}

std::vector<float> SoundFile::channel(int index) const {
    std::vector<float> one;
    for (size_t i = static_cast<size_t>(index); i < samples.size(); i += static_cast<size_t>(channels)) {
        one.push_back(samples[i]);
    }
    return one;
}

bool writeSoundFile(const std::string& path, const std::vector<float>& interleavedSamples, int channels, int sampleRate,
                    SoundEncoding encoding) {
    std::error_code ignored;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ignored);
    SF_INFO info{};
    info.samplerate = sampleRate;
    info.channels = channels;
    info.format = sndfileFormat(encoding);
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    if (file == nullptr) {
        std::fprintf(stderr, "%s: cannot write %s: %s\n", program_invocation_short_name, path.c_str(),
                     sf_strerror(nullptr));
        return false;
    }
    if (encoding == SoundEncoding::Mp3) {
        setConstantBitRate(file);
    }
    const sf_count_t frames = static_cast<sf_count_t>(interleavedSamples.size() / channels);
    const sf_count_t written = sf_writef_float(file, interleavedSamples.data(), frames);
    const int closeError = sf_close(file);
    if (written != frames || closeError != 0) {
        std::fprintf(stderr, "%s: cannot write %s: encoding stopped early\n", program_invocation_short_name,
                     path.c_str());
        return false;
    }
    return true;
}
