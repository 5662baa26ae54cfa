#include "AudioTestFiles.h"

#include <sndfile.h>

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>

namespace testaudio {
namespace {

void writeFrames(const std::string& path, int format, int rate, int channels, const std::vector<float>& samples) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    SF_INFO info = {};
    info.samplerate = rate;
    info.channels = channels;
    info.format = format;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    if (!file) {
        return;
    }
    sf_writef_float(file, samples.data(), static_cast<sf_count_t>(samples.size() / channels));
    sf_close(file);
}

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
    writeFrames(path, SF_FORMAT_WAV | SF_FORMAT_PCM_16, rate, static_cast<int>(levels.size()), samples);
}

void writeSineWav(const std::string& path, int rate, int frames, float hertz) {
    writeFrames(path, SF_FORMAT_WAV | SF_FORMAT_PCM_16, rate, 1, sine(rate, frames, 1, hertz));
}

void writeSilentWav(const std::string& path, int channels, int rate, int frames) {
    const std::uint32_t blockAlign = static_cast<std::uint32_t>(channels) * 2;
    const std::uint32_t dataBytes = blockAlign * static_cast<std::uint32_t>(frames);
    std::string bytes;
    auto put = [&](std::uint32_t value, int size) {
        for (int i = 0; i < size; ++i) {
            bytes.push_back(static_cast<char>((value >> (8 * i)) & 0xff));
        }
    };
    bytes += "RIFF";
    put(36 + dataBytes, 4);
    bytes += "WAVEfmt ";
    put(16, 4);
    put(1, 2);  // PCM
    put(static_cast<std::uint32_t>(channels), 2);
    put(static_cast<std::uint32_t>(rate), 4);
    put(static_cast<std::uint32_t>(rate) * blockAlign, 4);
    put(blockAlign, 2);
    put(16, 2);
    bytes += "data";
    put(dataBytes, 4);
    bytes.append(dataBytes, '\0');
    std::ofstream(path, std::ios::binary) << bytes;
}

void writeFloatWav(const std::string& path, int rate, int channels, const std::vector<float>& samples) {
    writeFrames(path, SF_FORMAT_WAV | SF_FORMAT_FLOAT, rate, channels, samples);
}

void writeSineMp3(const std::string& path, int rate, int frames, float hertz) {
    writeFrames(path, SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III, rate, 2, sine(rate, frames, 2, hertz));
}

}  // namespace testaudio
