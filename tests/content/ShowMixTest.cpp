// The show's sound as the audience hears it: the capture tool's off-line mix,
// made by the demo's own timeline and audio layer. Every cue has to cut
// through the music that plays under it, and the mix must neither clip nor
// drift off zero, whatever the music or the voices are changed to.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "audio/MixFormat.h"
#include "content/SoundMeasure.h"
#include "formats/SoundFile.h"
#include "support/CaptureTool.h"
#include "support/ShowExpectations.h"
#include "support/TempDir.h"

namespace {

// The first 40 s hold every cue; the recording runs on past them so that its
// closing fade lies beyond what is measured.
constexpr double MEASURED_SECONDS = 40.0;
constexpr double RECORDED_SECONDS = 41.6;
constexpr double CUE_WINDOW_SECONDS = 0.5;
constexpr double CUE_OVER_MUSIC_DECIBELS = 6.0;
constexpr double PEAK_LIMIT_DECIBELS = -1.0;
constexpr double LARGEST_DC = 0.002;

std::vector<float> recordShowSound(const TempDir& folder) {
    const std::string track = folder.file("show.wav");
    CaptureRun run =
        capture({"--size", "160x120", "--fps", "30", "--end", std::to_string(RECORDED_SECONDS), "--audio", track});
    EXPECT_EQ(run.status, 0) << run.error;
    std::vector<float> samples;
    SoundFile sound = readSoundFile(track);
    if (!sound.opened) {
        return samples;
    }
    EXPECT_EQ(sound.rate, MIX_RATE);
    EXPECT_EQ(sound.channels, MIX_CHANNELS);
    return sound.samples;
}

size_t firstSoundIndex(const std::vector<float>& samples, size_t from = 0) {
    size_t i = from - from % MIX_CHANNELS;
    while (i < samples.size() && samples[i] == 0.0f && samples[i + 1] == 0.0f) {
        i += MIX_CHANNELS;
    }
    return i;
}

// The music's share of the mix: the file as the mixer receives it, scaled by
// the master gain and laid where it starts in the show, which is where the
// show's sound starts (nothing plays before the music).
std::vector<float> musicShare(const std::vector<float>& show) {
    const std::vector<float> music = decodeForMix(MUSIC_CUE.file);
    std::vector<float> share(show.size(), 0.0f);
    const size_t showStart = firstSoundIndex(show);
    const size_t musicStart = firstSoundIndex(music);
    for (size_t i = showStart; i < share.size() && i - showStart + musicStart < music.size(); ++i) {
        share[i] = music[i - showStart + musicStart] * MASTER_GAIN;
    }
    return share;
}

}  // namespace

// Mixing adds channels, so the show's sound minus the music's share is the
// cues alone. Each cue's first half second must be at least 6 dB louder than
// the music in the half second before it, as a listener compares them.
TEST(ShowMix, EveryCueStandsSixDecibelsOverTheMusicBeforeItWithoutClippingOrOffset) {
    TempDir folder;
    const std::vector<float> recorded = recordShowSound(folder);
    ASSERT_GE(recorded.size(), stereoIndexAt(MEASURED_SECONDS));
    const std::vector<float> show(recorded.begin(), recorded.begin() + stereoIndexAt(MEASURED_SECONDS));
    const std::vector<float> music = musicShare(show);

    // Before the first cue the show is the music alone: this checks the
    // alignment the cue measurements rely on.
    const size_t firstCue = stereoIndexAt(SOUND_CUES[0].seconds);
    double largestDifference = 0.0;
    for (size_t i = 0; i < firstCue; ++i) {
        largestDifference = std::max(largestDifference, static_cast<double>(std::fabs(show[i] - music[i])));
    }
    EXPECT_LT(largestDifference, 1e-4);

    std::vector<float> cues(show.size());
    for (size_t i = 0; i < show.size(); ++i) {
        cues[i] = show[i] - music[i];
    }
    for (const ExpectedCue& cue : SOUND_CUES) {
        SCOPED_TRACE(cue.file);
        const size_t onset = firstSoundIndex(cues, stereoIndexAt(cue.seconds));
        ASSERT_LT(onset, stereoIndexAt(cue.seconds + 0.1)) << "the cue did not start on time";
        const size_t window = stereoIndexAt(CUE_WINDOW_SECONDS);
        const double cueLevel = rmsDecibels(cues, onset, onset + window);
        const double musicLevel = rmsDecibels(music, onset - window, onset);
        EXPECT_GE(cueLevel - musicLevel, CUE_OVER_MUSIC_DECIBELS)
            << "cue " << cueLevel << " dBFS, music before it " << musicLevel << " dBFS";
    }

    EXPECT_LT(peakDecibels(show), PEAK_LIMIT_DECIBELS);
    EXPECT_LT(largestChannelMean(show, 0, show.size()), LARGEST_DC);
    for (size_t second = 0; second < static_cast<size_t>(MEASURED_SECONDS); ++second) {
        EXPECT_LT(largestChannelMean(show, stereoIndexAt(second), stereoIndexAt(second + 1.0)), LARGEST_DC)
            << "in second " << second;
    }

    // A recording ends in a fade to silence rather than in the middle of a bar.
    const size_t end = recorded.size();
    EXPECT_LT(rmsDecibels(recorded, end - stereoIndexAt(0.02), end), -60.0);
    EXPECT_GT(rmsDecibels(recorded, end - stereoIndexAt(1.7), end - stereoIndexAt(1.5)), -40.0);
}
