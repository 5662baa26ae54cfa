// The mixer and its channels without a device and without threads: the test
// pulls mixed frames itself, so every expected sample is exact.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "AudioTestFiles.h"
#include "audio/AudioResult.h"
#include "audio/MixFormat.h"
#include "audio/Mixer.h"
#include "audio/SoundSystem.h"
#include "support/TempDir.h"

namespace {

Channel* openChannel(const std::string& path) {
    Channel* channel = nullptr;
    EXPECT_EQ(Channel::open(path.c_str(), &channel), AUDIO_OK) << path;
    return channel;
}

// Starts the file on any free slot; the mixer owns the channel from then on.
Channel* start(Mixer& mixer, const std::string& path) {
    Channel* channel = openChannel(path);
    std::vector<Channel*> retired;
    EXPECT_EQ(mixer.place(channel, ANY_FREE_CHANNEL, retired), AUDIO_OK);
    for (Channel* finished : retired) {
        delete finished;
    }
    return channel;
}

std::vector<float> pull(Mixer& mixer, int frames) {
    return testaudio::pull([&](float* out, int count) { mixer.mix(out, count); }, frames);
}

float left(const std::vector<float>& mix, int frame) {
    return mix[static_cast<size_t>(frame) * 2];
}
float right(const std::vector<float>& mix, int frame) {
    return mix[static_cast<size_t>(frame) * 2 + 1];
}

// Starts `path` on any free channel of `system`, as a cue does.
void playOn(SoundSystem& system, const std::string& path) {
    Sound* sound = nullptr;
    ASSERT_EQ(system.createStream(path.c_str(), &sound), AUDIO_OK);
    ASSERT_EQ(system.playSound(ANY_FREE_CHANNEL, sound, ChannelStart::Playing, nullptr), AUDIO_OK);
}

int lastAudibleFrame(const std::vector<float>& mix) {
    for (int frame = static_cast<int>(mix.size() / 2) - 1; frame >= 0; --frame) {
        if (std::fabs(left(mix, frame)) > 0.01f) {
            return frame;
        }
    }
    return -1;
}

}  // namespace

TEST(Mixer, MonoFileAt22050HzIsResampledToTwiceItsLengthAndEndsByItself) {
    TempDir folder;
    // Half a second of a constant level, so every output frame is predictable.
    testaudio::writeConstantWav(folder.file("half.wav"), 22050, 11025, {0.5f});
    Mixer mixer;
    mixer.setChannelCount(4);
    Channel* channel = start(mixer, folder.file("half.wav"));

    std::vector<float> mix = pull(mixer, 30000);

    EXPECT_TRUE(channel->finished);
    EXPECT_EQ(mixer.playingCount(), 0);
    EXPECT_EQ(channel->mixedFrames, 22050);
    EXPECT_NEAR(lastAudibleFrame(mix), 22049, 1);
    for (int frame = 16; frame < 22030; frame += 7) {
        ASSERT_NEAR(left(mix, frame), 0.5f * MASTER_GAIN, 1e-3f) << frame;
    }
    for (int frame = 0; frame < 30000; ++frame) {
        ASSERT_EQ(left(mix, frame), right(mix, frame)) << frame;
    }
    for (int frame = 22060; frame < 30000; ++frame) {
        ASSERT_EQ(left(mix, frame), 0.0f) << frame;
    }
}

TEST(Mixer, MonoSineReachesBothSidesEquallyAtTheMasterGain) {
    TempDir folder;
    testaudio::writeSineWav(folder.file("sine.wav"), MIX_RATE, 4410, 441.0f);
    Mixer mixer;
    mixer.setChannelCount(1);
    start(mixer, folder.file("sine.wav"));

    std::vector<float> mix = pull(mixer, 4410);

    // 441 Hz at 44.1 kHz: a quarter period is 25 frames.
    EXPECT_NEAR(left(mix, 25), 0.5f * MASTER_GAIN, 1e-3f);
    EXPECT_NEAR(left(mix, 75), -0.5f * MASTER_GAIN, 1e-3f);
    for (int frame = 0; frame < 4410; ++frame) {
        ASSERT_EQ(left(mix, frame), right(mix, frame)) << frame;
    }
}

TEST(Mixer, PlayingSoundsSumThenTheSumIsClamped) {
    TempDir folder;
    testaudio::writeConstantWav(folder.file("a.wav"), MIX_RATE, 4410, {0.2f, 0.4f});
    testaudio::writeConstantWav(folder.file("b.wav"), MIX_RATE, 2205, {0.3f, -0.1f});
    testaudio::writeConstantWav(folder.file("loud.wav"), MIX_RATE, 4410, {0.9f, -0.9f});
    Mixer mixer;
    mixer.setChannelCount(8);
    start(mixer, folder.file("a.wav"));
    start(mixer, folder.file("b.wav"));

    std::vector<float> mix = pull(mixer, 4410);

    EXPECT_NEAR(left(mix, 100), 0.5f * MASTER_GAIN, 1e-3f);
    EXPECT_NEAR(right(mix, 100), 0.3f * MASTER_GAIN, 1e-3f);
    // The shorter one has ended; the other goes on alone.
    EXPECT_NEAR(left(mix, 3000), 0.2f * MASTER_GAIN, 1e-3f);
    EXPECT_NEAR(right(mix, 3000), 0.4f * MASTER_GAIN, 1e-3f);

    for (int i = 0; i < 4; ++i) {
        start(mixer, folder.file("loud.wav"));
    }
    mix = pull(mixer, 100);
    EXPECT_EQ(left(mix, 50), 1.0f);
    EXPECT_EQ(right(mix, 50), -1.0f);
}

TEST(Mixer, SlotsFreeThemselvesWhenTheirSoundEnds) {
    TempDir folder;
    testaudio::writeConstantWav(folder.file("short.wav"), MIX_RATE, 500, {0.5f});
    Mixer mixer;
    mixer.setChannelCount(1);
    Channel* first = start(mixer, folder.file("short.wav"));

    Channel* second = openChannel(folder.file("short.wav"));
    std::vector<Channel*> retired;
    EXPECT_EQ(mixer.place(second, ANY_FREE_CHANNEL, retired), AUDIO_NO_FREE_CHANNEL);
    EXPECT_EQ(mixer.place(second, 1, retired), AUDIO_INVALID_PARAMETER);
    EXPECT_TRUE(retired.empty());

    pull(mixer, 600);
    EXPECT_TRUE(first->finished);
    EXPECT_EQ(mixer.place(second, ANY_FREE_CHANNEL, retired), AUDIO_OK);
    ASSERT_EQ(retired.size(), 1u);
    EXPECT_EQ(retired[0], first);
    delete first;

    // A given index takes its slot even from a sound still playing.
    Channel* third = openChannel(folder.file("short.wav"));
    retired.clear();
    EXPECT_EQ(mixer.place(third, 0, retired), AUDIO_OK);
    ASSERT_EQ(retired.size(), 1u);
    EXPECT_EQ(retired[0], second);
    delete second;
}

TEST(Mixer, Mp3EndsWhenItsDecoderRunsDry) {
    TempDir folder;
    testaudio::writeSineMp3(folder.file("tone.mp3"), MIX_RATE, MIX_RATE, 440.0f);
    Mixer mixer;
    mixer.setChannelCount(1);
    Channel* channel = start(mixer, folder.file("tone.mp3"));

    std::vector<float> mix = pull(mixer, 2 * MIX_RATE);

    EXPECT_TRUE(channel->finished);
    // Encoder delay and padding make the decoded length differ a little from the original.
    EXPECT_NEAR(static_cast<double>(channel->mixedFrames), MIX_RATE, 3000.0);
    EXPECT_NEAR(lastAudibleFrame(mix), MIX_RATE, 3000.0);
}

TEST(OfflineRender, TwoRendersOfTheSameCuesAreIdentical) {
    TempDir folder;
    testaudio::writeSineMp3(folder.file("music.mp3"), MIX_RATE, MIX_RATE / 2, 330.0f);
    testaudio::writeSineWav(folder.file("cue.wav"), 22050, 5000, 550.0f);

    auto render = [&]() {
        SoundSystem system;
        EXPECT_EQ(system.init(100, SoundSystem::INIT_NO_DEVICE), AUDIO_OK);
        playOn(system, folder.file("music.mp3"));
        std::vector<float> mix(2 * 30000);
        // The cue starts exactly at frame 7000 of the render.
        EXPECT_EQ(system.render(mix.data(), 7000), AUDIO_OK);
        playOn(system, folder.file("cue.wav"));
        EXPECT_EQ(system.render(mix.data() + 2 * 7000, 23000), AUDIO_OK);
        EXPECT_EQ(system.renderedFrames, 30000);
        return mix;
    };
    std::vector<float> first = render();
    std::vector<float> second = render();

    EXPECT_EQ(first, second);
    // The cue adds to the music from its frame on, not before.
    SoundSystem musicOnly;
    ASSERT_EQ(musicOnly.init(4, SoundSystem::INIT_NO_DEVICE), AUDIO_OK);
    playOn(musicOnly, folder.file("music.mp3"));
    std::vector<float> alone(2 * 30000);
    ASSERT_EQ(musicOnly.render(alone.data(), 30000), AUDIO_OK);
    EXPECT_TRUE(std::equal(alone.begin(), alone.begin() + 2 * 7000, first.begin()));
    EXPECT_NE(alone[2 * 7025], first[2 * 7025]);
}

TEST(OfflineRender, RenderNeedsTheNoDeviceMode) {
    SoundSystem uninitialised;
    float frames[4];
    EXPECT_EQ(uninitialised.render(frames, 2), AUDIO_NOT_INITIALISED);
    SoundSystem offline;
    ASSERT_EQ(offline.init(2, SoundSystem::INIT_NO_DEVICE), AUDIO_OK);
    EXPECT_EQ(offline.init(2, SoundSystem::INIT_NO_DEVICE), AUDIO_ALREADY_INITIALISED);
    EXPECT_EQ(offline.render(frames, 2), AUDIO_OK);
    EXPECT_EQ(frames[0], 0.0f);
}
