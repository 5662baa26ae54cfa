#include "audio/QuietAudioLibraries.h"

#include <alsa/asoundlib.h>
#include <dlfcn.h>
#include <mpg123.h>

namespace {

// ALSA writes "ALSA lib ..." lines on standard error for every device it
// probes and cannot open (eight of them on a machine without a sound card).
// The program says itself what it makes of a missing device.
void ignoreAlsaMessage(const char*, int, const char*, int, const char*, ...) {}

}  // namespace

void quietAudioLibraries() {
    snd_lib_error_set_handler(ignoreAlsaMessage);
}

// libsndfile decodes MP3 through libmpg123, whose handles print their own
// notes and errors on standard error ("Note: Trying to resync...") for a
// damaged file unless told to be quiet, and libsndfile has no way to tell
// them. This definition takes the place of libmpg123's for the whole process
// (the executable's symbols come first in the dynamic lookup): it creates the
// handle with the library's own function and makes it quiet before libsndfile
// sees it. The audio layer reports a bad file itself, by its result code.
extern "C" mpg123_handle* mpg123_new(const char* decoder, int* error) {
    using Create = mpg123_handle* (*)(const char*, int*);
    static const Create create = reinterpret_cast<Create>(dlsym(RTLD_NEXT, "mpg123_new"));
    if (!create) {
        if (error) {
            *error = MPG123_ERR;
        }
        return nullptr;
    }
    mpg123_handle* handle = create(decoder, error);
    if (handle) {
        mpg123_param(handle, MPG123_ADD_FLAGS, MPG123_QUIET, 0.0);
    }
    return handle;
}
