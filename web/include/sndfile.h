#pragma once

// The part of libsndfile's reading interface the show's audio layer uses,
// for the browser: there the page has decoded every sound of the show with
// the browser's own decoder before the show starts (audio/web_audio.js),
// and a "file" reads those frames (audio/WebSoundFile.cpp). Names and
// meanings are libsndfile's, so the audio layer compiles as it is.

#include <cstdint>

typedef std::int64_t sf_count_t;
typedef struct SNDFILE_tag SNDFILE;

struct SF_INFO {
    sf_count_t frames;
    int samplerate;
    int channels;
    int format;
    int sections;
    int seekable;
};

#define SFM_READ 0x10
#define SF_FALSE 0
#define SF_TRUE 1

enum { SF_ERR_NO_ERROR = 0, SF_ERR_UNRECOGNISED_FORMAT = 1, SF_ERR_SYSTEM = 2 };

extern "C" {
// Opens the sound the browser decoded from the file behind `fd`; null with
// SF_ERR_UNRECOGNISED_FORMAT when the browser could not decode it. The
// descriptor stays the caller's.
SNDFILE* sf_open_fd(int fd, int mode, SF_INFO* sfinfo, int close_desc);
sf_count_t sf_readf_float(SNDFILE* sndfile, float* ptr, sf_count_t frames);
int sf_close(SNDFILE* sndfile);
// The error of the last failed open (only for a null handle).
int sf_error(SNDFILE* sndfile);
}
