// The program's audio functions against the global audioSystem, in the mode
// without a device so the test decides when the mix advances.

#include <SDL.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "AudioTestFiles.h"
#include "audio/Audio.h"
#include "audio/MixFormat.h"
#include "audio/SoundSystem.h"
#include "support/ShowExpectations.h"
#include "support/TempDir.h"

namespace {

// The second line of a cue whose stream could not be made: nothing to play.
const std::string NO_SOUND = "FMOD error! 35 An invalid object handle was used. \n";
const std::string NOT_FOUND_AND_NO_SOUND = "FMOD error! 22 File not found. \n" + NO_SOUND;
const std::string UNSUPPORTED_AND_NO_SOUND = "FMOD error! 24 Unsupported file or audio format. \n" + NO_SOUND;

std::string standardOutputOf(const std::function<void()>& body) {
    testing::internal::CaptureStdout();
    body();
    return testing::internal::GetCapturedStdout();
}

float peak(const std::vector<float>& mix) {
    float largest = 0.0f;
    for (float sample : mix) {
        largest = std::max(largest, std::fabs(sample));
    }
    return largest;
}

class AudioCues : public testing::Test {
protected:
    void SetUp() override {
        audioInitFlags = SoundSystem::INIT_NO_DEVICE;
        EXPECT_EQ(standardOutputOf(initAudio), "");
        audioInitFlags = 0;
    }

    void TearDown() override {
        delete audioSystem;
        audioSystem = nullptr;
    }

    std::vector<float> render(int frames) {
        std::vector<float> mix(static_cast<size_t>(frames) * MIX_CHANNELS);
        EXPECT_EQ(audioSystem->render(mix.data(), frames), 0);
        return mix;
    }

    int playing() { return audioSystem->mixer.playingCount(); }

    TempDir folder;
};

}  // namespace

TEST_F(AudioCues, MusicNumberBecomesTheDigitOfTheTrackName) {
    testaudio::writeSineMp3(folder.file("data/music/music0.mp3"), MIX_RATE, 4410, 220.0f);
    testaudio::writeConstantWav(folder.file("data/music/music9.mp3"), MIX_RATE, 4410, {0.1f});
    WorkingDirectory inFolder(folder.path());

    // Track 1 was not written; '0' + 265 wraps to '9'.
    const std::pair<int, std::string> tracks[] = {{0, ""}, {9, ""}, {1, NOT_FOUND_AND_NO_SOUND}, {265, ""}};
    int channels = 0;
    for (const auto& [track, report] : tracks) {
        EXPECT_EQ(standardOutputOf([track = track] { playMusic(track); }), report) << track;
        EXPECT_EQ(playing(), channels += report.empty()) << track;
    }
}

TEST_F(AudioCues, EachCuePlaysItsOwnFileSilentlyOnItsOwnChannel) {
    // In the order the show plays them, each file written only when its cue is
    // tried, so a cue that opened another cue's file would be heard too early
    // or not at all.
    WorkingDirectory inFolder(folder.path());
    int channels = 0;
    auto expectPlays = [&](const ExpectedCue& cue, const std::function<void(const std::string&)>& write) {
        EXPECT_EQ(standardOutputOf(cue.play), NOT_FOUND_AND_NO_SOUND) << cue.file;
        write(folder.file(cue.file));
        EXPECT_EQ(standardOutputOf(cue.play), "") << cue.file;
        EXPECT_EQ(playing(), ++channels) << cue.file;
    };
    expectPlays(MUSIC_CUE, [](const std::string& path) { testaudio::writeSineMp3(path, MIX_RATE, MIX_RATE, 220.0f); });
    for (const ExpectedCue& cue : SOUND_CUES) {
        expectPlays(cue, [](const std::string& path) { testaudio::writeSineWav(path, 22050, 22050, 440.0f); });
    }
    EXPECT_GT(peak(render(2000)), 0.1f);
}

TEST_F(AudioCues, MissingCueReportsFileNotFoundAtItsCueAndTheMusicGoesOn) {
    testaudio::writeSineMp3(folder.file(MUSIC_CUE.file), MIX_RATE, MIX_RATE, 220.0f);
    WorkingDirectory inFolder(folder.path());
    EXPECT_EQ(standardOutputOf(MUSIC_CUE.play), "");
    render(4410);

    EXPECT_EQ(standardOutputOf(playSpit), NOT_FOUND_AND_NO_SOUND);

    EXPECT_EQ(playing(), 1);
    EXPECT_GT(peak(render(4410)), 0.1f);
}

TEST_F(AudioCues, HundredAndFirstSimultaneousPlayFindsNoChannel) {
    testaudio::writeConstantWav(folder.file("short.wav"), MIX_RATE, 441, {0.001f});
    std::string path = folder.file("short.wav");

    std::string output = standardOutputOf([&] {
        for (int i = 0; i < 100; ++i) {
            playFile(path.c_str());
        }
    });
    EXPECT_EQ(output, "");
    EXPECT_EQ(playing(), 100);
    EXPECT_EQ(standardOutputOf([&] { playFile(path.c_str()); }),
              "FMOD error! 10 Error trying to allocate a channel. \n");

    // Once the sounds have ended by themselves their channels are free again.
    render(1000);
    EXPECT_EQ(playing(), 0);
    EXPECT_EQ(standardOutputOf([&] { playFile(path.c_str()); }), "");
    EXPECT_EQ(playing(), 1);
}

TEST_F(AudioCues, UnusableFilesReportTheirOwnCodes) {
    folder.write("folder.wav/inside", "");
    folder.write("text.wav", "not a sound at all");
    // RIFF and WAVE are recognised, but the file has no data chunk.
    folder.write("broken.wav", std::string("RIFF\x24\0\0\0WAVEjunkjunkjunkjunk", 24));
    folder.write("noise.mp3", std::string(3000, '\x5a'));
    // There, but holding no audio: the same answer whatever the name says.
    folder.write("empty.wav", "");
    folder.write("empty.mp3", "");
    // A FIFO blocks an ordinary open for ever; it is no sound file.
    ASSERT_EQ(mkfifo(folder.file("fifo.wav").c_str(), 0600), 0);
    auto play = [&](const char* name) {
        std::string path = folder.file(name);
        return standardOutputOf([&] { playFile(path.c_str()); });
    };

    EXPECT_EQ(play("folder.wav"), NOT_FOUND_AND_NO_SOUND);
    EXPECT_EQ(play("text.wav"), UNSUPPORTED_AND_NO_SOUND);
    EXPECT_EQ(play("broken.wav"), "FMOD error! 19 Error loading file. \n" + NO_SOUND);
    // Bytes without a frame of MPEG audio are no MP3, whatever the name says.
    EXPECT_EQ(play("noise.mp3"), UNSUPPORTED_AND_NO_SOUND);
    EXPECT_EQ(play("empty.wav"), UNSUPPORTED_AND_NO_SOUND);
    EXPECT_EQ(play("empty.mp3"), UNSUPPORTED_AND_NO_SOUND);
    EXPECT_EQ(play("fifo.wav"), NOT_FOUND_AND_NO_SOUND);
    EXPECT_EQ(playing(), 0);
}

// SDL takes channel counts as 8-bit values (256 wrapped to 0 and divided by
// it; 258 played as stereo) and resamples any rate, however absurd, into
// however much memory it takes. Only layouts and rates real files have pass.
TEST_F(AudioCues, ChannelCountsAndRatesNoRealFileHasAreUnsupported) {
    struct Case {
        int channels;
        int rate;
        bool playable;
    } cases[] = {{1, 1000, true},     {8, 44100, true}, {2, 384000, true}, {9, 44100, false},  {256, 44100, false},
                 {258, 44100, false}, {1, 1, false},    {1, 999, false},   {2, 384001, false}, {2, 4238404, false}};
    for (const Case& c : cases) {
        std::string path = folder.file(std::to_string(c.channels) + "-" + std::to_string(c.rate) + ".wav");
        testaudio::writeSilentWav(path, c.channels, c.rate, 2048);
        std::string report = standardOutputOf([&] { playFile(path.c_str()); });
        EXPECT_EQ(report, c.playable ? "" : UNSUPPORTED_AND_NO_SOUND)
            << c.channels << " channels at " << c.rate << " Hz";
    }
    // What did start plays to its end and mixes to plain samples.
    std::vector<float> mix = render(4 * MIX_RATE);
    EXPECT_EQ(playing(), 0);
    EXPECT_EQ(peak(mix), 0.0f);
}

// libmpg123 would print its own notes for every damaged frame ("Trying to
// resync..."); the console carries the program's lines only, and a damaged
// stretch is silence or noise in the music, not an error.
TEST_F(AudioCues, ADamagedMp3PlaysWithoutTheDecodersOwnWords) {
    std::string path = folder.file("damaged.mp3");
    testaudio::writeSineMp3(path, 44100, 44100, 440.0f);
    std::string bytes = readWholeFile(path);
    for (std::size_t i = 1000; i < bytes.size(); i += 97) {
        bytes[i] = static_cast<char>(bytes[i] ^ 0x5a);
    }
    folder.write("damaged.mp3", bytes);
    testing::internal::CaptureStderr();
    std::string report = standardOutputOf([&] { playFile(path.c_str()); });
    std::vector<float> mix = render(2 * MIX_RATE);
    std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(report, "");
    EXPECT_EQ(said, "");
    EXPECT_EQ(playing(), 0);
    EXPECT_TRUE(std::all_of(mix.begin(), mix.end(), [](float sample) { return std::isfinite(sample); }));
}

// A float file may carry NaN and infinities; none may reach the mix, where
// the resampler would smear them and the final clamp lets NaN through.
TEST_F(AudioCues, NonFiniteSamplesInAFloatFileMixAsSilence) {
    const float inf = INFINITY;
    std::vector<float> samples = {0.5f, NAN, inf, -inf, NAN, 0.5f, 0.25f, -0.25f};
    std::vector<float> interleaved;
    for (int repeat = 0; repeat < 500; ++repeat) {
        interleaved.insert(interleaved.end(), samples.begin(), samples.end());
    }
    std::string path = folder.file("float.wav");
    testaudio::writeFloatWav(path, 22050, 2, interleaved);
    EXPECT_EQ(standardOutputOf([&] { playFile(path.c_str()); }), "");
    std::vector<float> mix = render(MIX_RATE / 2);
    EXPECT_TRUE(std::all_of(mix.begin(), mix.end(), [](float sample) { return std::isfinite(sample); }));
    EXPECT_GT(peak(mix), 0.0f);
}

TEST_F(AudioCues, CueWithoutASystemReportsBothCallsAndDoesNotCrash) {
    delete audioSystem;
    audioSystem = nullptr;

    EXPECT_EQ(standardOutputOf(playJump), NO_SOUND + NO_SOUND);
}

TEST(AudioDevice, StreamPlaysToItsEndInRealTimeWithoutAnyCallPerFrame) {
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    TempDir folder;
    testaudio::writeSineWav(folder.file("beep.wav"), 22050, 2205, 440.0f);

    EXPECT_EQ(standardOutputOf(initAudio), "");
    ASSERT_NE(audioSystem, nullptr);
    EXPECT_NE(audioSystem->device, 0u);
    std::string path = folder.file("beep.wav");
    EXPECT_EQ(standardOutputOf([&] { playFile(path.c_str()); }), "");

    // A tenth of a second of sound: the device's own thread must finish it.
    bool ended = false;
    for (int waited = 0; waited < 3000 && !ended; waited += 10) {
        SDL_Delay(10);
        ended = audioSystem->mixer.playingCount() == 0;
    }
    EXPECT_TRUE(ended);
    delete audioSystem;
    audioSystem = nullptr;
}

// ALSA's own lines ("ALSA lib ...") would crowd standard error; the program
// says in one line of its own that the show goes on silent.
TEST(AudioDevice, FailedDeviceOpenFallsBackToTheSilentDriverWithOneLineOfItsOwn) {
    // A fresh process: the fallback changes SDL's driver for good.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            setenv("SDL_AUDIODRIVER", "alsa", 1);
            setenv("AUDIODEV", "no-such-sound-device", 1);
            std::string output = standardOutputOf(initAudio);
            const char* driver = SDL_GetCurrentAudioDriver();
            bool silentFallback =
                output.empty() && audioSystem && audioSystem->device != 0 && driver && std::string(driver) == "dummy";
            std::_Exit(silentFallback ? 0 : 1);
        },
        testing::ExitedWithCode(0), "^No sound device: the show goes on without sound\\.\n$");
}
