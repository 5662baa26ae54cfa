#pragma once

#include <string>
#include <vector>

// Sound files through libsndfile: whatever it decodes, read as floats, and
// the encodings the generator and the tests write with it.

struct SoundFile {
    bool opened = false;  // false: missing, or not a sound libsndfile knows
    int channels = 0;
    int rate = 0;                // frames per second
    std::vector<float> samples;  // interleaved, full scale at 1

    // The samples of one channel, 0 the first.
    std::vector<float> channel(int index) const;
};

// Every frame of the file.
SoundFile readSoundFile(const std::string& path);

enum class SoundEncoding {
    Pcm16Wav,
    FloatWav,
    Mp3,  // MPEG-1 Layer III at a constant bit rate of about 160 kbit/s
};

// Encodes interleaved float samples, making the file's folders; false after
// one line on standard error.
bool writeSoundFile(const std::string& path, const std::vector<float>& interleavedSamples, int channels, int sampleRate,
                    SoundEncoding encoding);
