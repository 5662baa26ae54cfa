#include "content/SoundMeasure.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "audio/AudioResult.h"
#include "audio/Channel.h"
#include "audio/MixFormat.h"
#include "support/RunFolder.h"

std::vector<float> decodeForMix(const std::string& relativePath) {
    const std::string path = readyToRunFolder() + "/" + relativePath;
    Channel* channel = nullptr;
    EXPECT_EQ(Channel::open(path.c_str(), &channel), AUDIO_OK) << path;
    std::vector<float> frames;
    if (channel == nullptr) {
        return frames;
    }
    constexpr int CHUNK = 4096;
    std::vector<float> mix(CHUNK * MIX_CHANNELS);
    std::vector<float> scratch(CHUNK * MIX_CHANNELS);
    while (!channel->finished) {
        std::fill(mix.begin(), mix.end(), 0.0f);
        channel->mixInto(mix.data(), CHUNK, scratch.data(), CHUNK);
        frames.insert(frames.end(), mix.begin(), mix.end());
    }
    // The last chunk runs past the sound's end; mixedFrames counts only the sound.
    frames.resize(static_cast<size_t>(channel->mixedFrames) * MIX_CHANNELS);
    delete channel;
    return frames;
}

size_t stereoIndexAt(double seconds) {
    return static_cast<size_t>(std::llround(seconds * MIX_RATE)) * MIX_CHANNELS;
}

double peakDecibels(const std::vector<float>& samples) {
    float peak = 0.0f;
    for (float sample : samples) {
        peak = std::max(peak, std::fabs(sample));
    }
    return 20.0 * std::log10(std::max(peak, 1e-9f));
}

double rmsDecibels(const std::vector<float>& samples, size_t from, size_t to) {
    to = std::min(to, samples.size());
    double sum = 0.0;
    for (size_t i = from; i < to; ++i) {
        sum += static_cast<double>(samples[i]) * samples[i];
    }
    return 10.0 * std::log10(std::max(sum / std::max<size_t>(to - std::min(from, to), 1), 1e-20));
}

double largestChannelMean(const std::vector<float>& stereo, size_t from, size_t to) {
    to = std::min(to, stereo.size());
    double sums[MIX_CHANNELS] = {};
    for (size_t i = from; i < to; ++i) {
        sums[i % MIX_CHANNELS] += stereo[i];
    }
    const double frames = std::max<double>((to - std::min(from, to)) / MIX_CHANNELS, 1.0);
    return std::max(std::fabs(sums[0]), std::fabs(sums[1])) / frames;
}
