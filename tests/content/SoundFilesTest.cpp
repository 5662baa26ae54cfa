// The generated cues and music, decoded through the program's own audio
// channel (the path every cue takes to the mixer), checked for length and level.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "audio/AudioResult.h"
#include "audio/Channel.h"
#include "audio/MixFormat.h"
#include "support/RunFolder.h"

namespace {

// Every frame of a file as the mixer receives it: stereo at MIX_RATE, before
// the master gain.
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
    while (channel->isPlaying()) {
        std::fill(mix.begin(), mix.end(), 0.0f);
        channel->mixInto(mix.data(), CHUNK, scratch.data(), CHUNK);
        frames.insert(frames.end(), mix.begin(), mix.end());
    }
    // The last chunk runs past the sound's end; mixedFrames counts only the sound.
    frames.resize(static_cast<size_t>(channel->mixedFrames) * MIX_CHANNELS);
    delete channel;
    return frames;
}

double seconds(const std::vector<float>& stereo) {
    return static_cast<double>(stereo.size()) / MIX_CHANNELS / MIX_RATE;
}

double peakDecibels(const std::vector<float>& samples) {
    float peak = 0.0f;
    for (float sample : samples) {
        peak = std::max(peak, std::fabs(sample));
    }
    return 20.0 * std::log10(std::max(peak, 1e-9f));
}

double rmsDecibels(const std::vector<float>& samples, size_t from, size_t to) {
    double sum = 0.0;
    for (size_t i = from; i < to; ++i) {
        sum += static_cast<double>(samples[i]) * samples[i];
    }
    return 10.0 * std::log10(std::max(sum / std::max<size_t>(to - from, 1), 1e-20));
}

// Seconds between the first and the last sample above -40 dBFS: the part
// that is heard, whatever silence the decoder pads on.
double audibleSeconds(const std::vector<float>& stereo) {
    const float threshold = 0.01f;
    size_t first = 0;
    while (first < stereo.size() && std::fabs(stereo[first]) < threshold) {
        ++first;
    }
    size_t last = stereo.size();
    while (last > first && std::fabs(stereo[last - 1]) < threshold) {
        --last;
    }
    return static_cast<double>(last - first) / MIX_CHANNELS / MIX_RATE;
}

struct CueExpectation {
    const char* path;
    double shortestSeconds;
    double longestSeconds;
};

}  // namespace

TEST(SoundFiles, EveryCueDecodesShortAndPeaksAtAboutMinusOneDecibel) {
    const CueExpectation cues[] = {
        {"data/wav/jump.wav", 0.2, 0.8},      {"data/wav/spit.wav", 0.2, 0.8},   {"data/wav/cowards.wav", 0.35, 1.5},
        {"data/wav/illgetyou.wav", 0.5, 2.0}, {"data/wav/warcry.wav", 0.6, 2.5},
    };
    for (const CueExpectation& cue : cues) {
        SCOPED_TRACE(cue.path);
        const std::vector<float> frames = decodeForMix(cue.path);
        EXPECT_GE(audibleSeconds(frames), cue.shortestSeconds);
        EXPECT_LE(seconds(frames), cue.longestSeconds);
        EXPECT_NEAR(peakDecibels(frames), -1.0, 0.3);
    }
}

// A voice line is speech from start to end, not a blip or a long silence:
// most of its 20 ms stretches are well above the noise floor.
TEST(SoundFiles, VoiceCuesAreSpeechAllTheWayThrough) {
    for (const char* path : {"data/wav/cowards.wav", "data/wav/illgetyou.wav", "data/wav/warcry.wav"}) {
        SCOPED_TRACE(path);
        const std::vector<float> frames = decodeForMix(path);
        const size_t window = MIX_RATE / 50 * MIX_CHANNELS;
        int loud = 0;
        int windows = 0;
        for (size_t start = 0; start + window <= frames.size(); start += window) {
            ++windows;
            if (rmsDecibels(frames, start, start + window) > -30.0) {
                ++loud;
            }
        }
        ASSERT_GT(windows, 0);
        EXPECT_GE(loud, windows / 2);
    }
}

TEST(SoundFiles, MusicIsAStereoPieceOfOverNinetySecondsThatEndsLouderThanItStarts) {
    const std::vector<float> frames = decodeForMix("data/music/music1.mp3");
    EXPECT_GE(seconds(frames), 90.0);
    EXPECT_LE(seconds(frames), 150.0);
    EXPECT_NEAR(peakDecibels(frames), -1.0, 1.0);
    // A real stereo mix, not the same signal twice.
    double sideEnergy = 0.0;
    for (size_t i = 0; i + 1 < frames.size(); i += 2) {
        sideEnergy += std::fabs(frames[i] - frames[i + 1]);
    }
    EXPECT_GT(sideEnergy / (frames.size() / 2), 0.001);
    // The chase winds up: the last half minute before the final chord is
    // louder than the first.
    const size_t halfMinute = 30 * MIX_RATE * MIX_CHANNELS;
    const size_t finalChord = 4 * MIX_RATE * MIX_CHANNELS;
    ASSERT_GT(frames.size(), 2 * halfMinute + finalChord);
    const double opening = rmsDecibels(frames, 0, halfMinute);
    const double closing = rmsDecibels(frames, frames.size() - finalChord - halfMinute, frames.size() - finalChord);
    EXPECT_GT(closing, opening + 0.5);
}
