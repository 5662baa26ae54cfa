#include <sndfile.h>

// A sound file in the browser is the sound the page decoded from it before
// the show started (web_audio.js); the handle is the page's number for it.
struct SNDFILE_tag {
    int sound;
    int channels;
};

namespace {

int lastOpenError = SF_ERR_NO_ERROR;

// The page's decoded sound for the file behind the descriptor: its number,
// channels, rate and frames, or -1 when the browser could not decode it.
// Each open is a sound the show starts, which the page notes (web_audio.js).
extern "C" int webSoundOpen(int descriptor, int* channels, int* rate, double* frames);
extern "C" int webSoundRead(int sound, float* out, int frames);
extern "C" void webSoundClose(int sound);

}  // namespace

extern "C" {

SNDFILE* sf_open_fd(int descriptor, int mode, SF_INFO* info, int) {
    if (mode != SFM_READ || !info) {
        lastOpenError = SF_ERR_SYSTEM;
        return nullptr;
    }
    int channels = 0, rate = 0;
    double frames = 0;
    int sound = webSoundOpen(descriptor, &channels, &rate, &frames);
    if (sound < 0) {
        lastOpenError = SF_ERR_UNRECOGNISED_FORMAT;
        return nullptr;
    }
    *info = SF_INFO{};
    info->frames = static_cast<sf_count_t>(frames);
    info->samplerate = rate;
    info->channels = channels;
    lastOpenError = SF_ERR_NO_ERROR;
    return new SNDFILE_tag{sound, channels};
}

sf_count_t sf_readf_float(SNDFILE* file, float* out, sf_count_t frames) {
    if (!file || !out || frames <= 0) {
        return 0;
    }
    return webSoundRead(file->sound, out, static_cast<int>(frames));
}

int sf_close(SNDFILE* file) {
    if (file) {
        webSoundClose(file->sound);
        delete file;
    }
    return 0;
}

int sf_error(SNDFILE*) {
    return lastOpenError;
}
}
