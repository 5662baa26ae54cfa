#include "SoundTrack.h"

#include <sndfile.h>

#include <cstdio>

bool writeSoundTrack(const std::string& path, const std::vector<float>& stereo, int rate) {
    SF_INFO info = {};
    info.samplerate = rate;
    info.channels = 2;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    if (!file) {
        std::fprintf(stderr, "getzorbi-capture: cannot write %s: %s\n", path.c_str(), sf_strerror(nullptr));
        return false;
    }
    sf_count_t frames = static_cast<sf_count_t>(stereo.size() / 2);
    bool written = sf_writef_float(file, stereo.data(), frames) == frames;
    sf_close(file);
    if (!written) {
        std::fprintf(stderr, "getzorbi-capture: could not write all of %s\n", path.c_str());
    }
    return written;
}
