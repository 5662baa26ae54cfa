// The generated cues and music, decoded through the program's own audio
// channel (the path every cue takes to the mixer), checked for length and level.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "audio/MixFormat.h"
#include "content/SoundMeasure.h"
#include "support/ShowExpectations.h"

namespace {

double seconds(const std::vector<float>& stereo) {
    return static_cast<double>(stereo.size()) / MIX_CHANNELS / MIX_RATE;
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

// A sound's mean may drift no further from zero than this, over the whole
// of a cue or any second of the music: an offset wastes headroom, thumps at
// the start and end of a cue, and pushes a speaker cone off its centre.
constexpr double LARGEST_DC = 0.002;

struct CueExpectation {
    const char* path;
    double shortestSeconds;
    double longestSeconds;
};

}  // namespace

TEST(SoundFiles, EveryCueDecodesShortWithoutOffsetAndPeaksAtAboutMinusOneDecibel) {
    const CueExpectation cues[] = {
        {JUMP_CUE.file, 0.2, 0.8},        {SPIT_CUE.file, 0.2, 0.8},   {COWARDS_CUE.file, 0.35, 1.6},
        {ILL_GET_YOU_CUE.file, 0.5, 2.0}, {WARCRY_CUE.file, 0.6, 2.5},
    };
    for (const CueExpectation& cue : cues) {
        SCOPED_TRACE(cue.path);
        const std::vector<float> frames = decodeForMix(cue.path);
        EXPECT_GE(audibleSeconds(frames), cue.shortestSeconds);
        EXPECT_LE(seconds(frames), cue.longestSeconds);
        EXPECT_NEAR(peakDecibels(frames), -1.0, 0.3);
        EXPECT_LT(largestChannelMean(frames, 0, frames.size()), LARGEST_DC);
    }
}

// A voice line is speech from start to end, not a blip or a long silence:
// most of its 20 ms stretches are well above the noise floor.
TEST(SoundFiles, VoiceCuesAreSpeechAllTheWayThrough) {
    for (const char* path : {COWARDS_CUE.file, ILL_GET_YOU_CUE.file, WARCRY_CUE.file}) {
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

// The music is mastered with headroom under the cues, which peak at -1 dBFS.
TEST(SoundFiles, MusicIsAStereoPieceOfOverNinetySecondsWithoutOffsetThatEndsLouderThanItStarts) {
    const std::vector<float> frames = decodeForMix(MUSIC_CUE.file);
    EXPECT_GE(seconds(frames), 90.0);
    EXPECT_LE(seconds(frames), 150.0);
    EXPECT_NEAR(peakDecibels(frames), -8.0, 1.0);
    for (size_t second = 0; stereoIndexAt(second + 1.0) <= frames.size(); ++second) {
        EXPECT_LT(largestChannelMean(frames, stereoIndexAt(second), stereoIndexAt(second + 1.0)), LARGEST_DC)
            << "in second " << second;
    }
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
