#include "AudioTestFiles.h"

#include <cmath>

#include "formats/FileWriter.h"
#include "formats/SoundFile.h"
#include "formats/WavWriter.h"

namespace testaudio {
namespace {

std::vector<float> sine(int rate, int frames, int channels, float hertz) {
    std::vector<float> samples;
    for (int i = 0; i < frames; ++i) {
        float value = 0.5f * static_cast<float>(std::sin(2.0 * M_PI * hertz * i / rate));
        samples.insert(samples.end(), static_cast<size_t>(channels), value);
    }
    return samples;
}

}  // namespace

void writeConstantWav(const std::string& path, int rate, int frames, const std::vector<float>& levels) {
    std::vector<float> samples;
    for (int i = 0; i < frames; ++i) {
        samples.insert(samples.end(), levels.begin(), levels.end());
    }
    writeSoundFile(path, samples, static_cast<int>(levels.size()), rate, SoundEncoding::Pcm16Wav);
}

void writeSineWav(const std::string& path, int rate, int frames, float hertz) {
    writeSoundFile(path, sine(rate, frames, 1, hertz), 1, rate, SoundEncoding::Pcm16Wav);
}

void writeSilentWav(const std::string& path, int channels, int rate, int frames) {
    writeFileBytes(path, encodeWav(std::vector<float>(static_cast<size_t>(channels) * frames, 0.0f), channels, rate));
}

void writeFloatWav(const std::string& path, int rate, int channels, const std::vector<float>& samples) {
    writeSoundFile(path, samples, channels, rate, SoundEncoding::FloatWav);
}

void writeSineMp3(const std::string& path, int rate, int frames, float hertz) {
    writeSoundFile(path, sine(rate, frames, 2, hertz), 2, rate, SoundEncoding::Mp3);
}

}  // namespace testaudio
