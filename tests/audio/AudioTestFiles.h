#pragma once

#include <string>
#include <vector>

// Sound files made in the test, so every expected sample is known.
namespace testaudio {

// A 16-bit WAV of `frames` frames whose every sample of channel c is levels[c].
void writeConstantWav(const std::string& path, int rate, int frames, const std::vector<float>& levels);

// A 16-bit mono WAV of a sine at `hertz` with amplitude 0.5.
void writeSineWav(const std::string& path, int rate, int frames, float hertz);

// A silent 16-bit PCM WAV with the plain 44-byte header, so that any
// channel count and rate can be declared, also those no encoder would write.
void writeSilentWav(const std::string& path, int channels, int rate, int frames);

// A 32-bit float WAV of the interleaved `samples`, stored as they are (NaN too).
void writeFloatWav(const std::string& path, int rate, int channels, const std::vector<float>& samples);

// A stereo MP3 (MPEG Layer III) of a sine at `hertz` with amplitude 0.5.
void writeSineMp3(const std::string& path, int rate, int frames, float hertz);

// Interleaved stereo frames pulled from a mix function in chunks of `chunk`.
template <typename MixFunction>
std::vector<float> pull(MixFunction mix, int frames, int chunk = 1000) {
    std::vector<float> out(static_cast<size_t>(frames) * 2);
    for (int done = 0; done < frames; done += chunk) {
        int count = frames - done < chunk ? frames - done : chunk;
        mix(out.data() + static_cast<size_t>(done) * 2, count);
    }
    return out;
}

}  // namespace testaudio
