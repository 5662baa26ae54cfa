// Writes the audio seeds of the fuzz corpus into the folder given: short
// WAV and MP3 files in the layouts and rates the show uses and at the edges
// of what the audio layer takes.
//
//   fuzz_audio_seeds tests/fuzz/corpus/audio

#include <cstdio>
#include <string>

#include "audio/AudioTestFiles.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
        return 2;
    }
    const std::string folder = argv[1];
    testaudio::writeSineWav(folder + "/mono-22050.wav", 22050, 200, 440.0f);
    testaudio::writeSineWav(folder + "/mono-1000.wav", 1000, 40, 100.0f);
    testaudio::writeSineWav(folder + "/mono-384000.wav", 384000, 400, 1000.0f);
    testaudio::writeConstantWav(folder + "/eight-channels.wav", 44100, 50,
                                {0.1f, -0.2f, 0.3f, -0.4f, 0.5f, -0.6f, 0.7f, -0.8f});
    testaudio::writeFloatWav(folder + "/stereo-float.wav", 48000, 2, {1.0f, -1.0f, 0.25f, 0.5f, -0.75f, 0.0f});
    testaudio::writeSineMp3(folder + "/stereo-44100.mp3", 44100, 1152, 440.0f);
    return 0;
}
