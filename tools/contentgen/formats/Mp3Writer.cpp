#include "formats/Mp3Writer.h"

#include <sndfile.h>

#include <cstdio>
#include <filesystem>

namespace {

// libsndfile maps 0 (best) .. 1 (smallest) onto the encoder's bit rates;
// 0.5 gives 160 kbit/s for 44.1 kHz stereo.
constexpr double COMPRESSION_LEVEL = 0.5;

}  // namespace

bool writeMp3(const std::string& path, const std::vector<float>& interleavedSamples, int channels, int sampleRate) {
    std::error_code ignored;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ignored);
    SF_INFO info{};
    info.samplerate = sampleRate;
    info.channels = channels;
    info.format = SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    if (file == nullptr) {
        std::fprintf(stderr, "zorbi-contentgen: cannot write %s: %s\n", path.c_str(), sf_strerror(nullptr));
        return false;
    }
    // The mode first: the compression level is read as a bit rate for it.
    int bitrateMode = SF_BITRATE_MODE_CONSTANT;
    sf_command(file, SFC_SET_BITRATE_MODE, &bitrateMode, sizeof(bitrateMode));
    double compressionLevel = COMPRESSION_LEVEL;
    sf_command(file, SFC_SET_COMPRESSION_LEVEL, &compressionLevel, sizeof(compressionLevel));
    const sf_count_t frames = static_cast<sf_count_t>(interleavedSamples.size() / channels);
    const sf_count_t written = sf_writef_float(file, interleavedSamples.data(), frames);
    const int closeError = sf_close(file);
    if (written != frames || closeError != 0) {
        std::fprintf(stderr, "zorbi-contentgen: cannot write %s: encoding stopped early\n", path.c_str());
        return false;
    }
    return true;
}
