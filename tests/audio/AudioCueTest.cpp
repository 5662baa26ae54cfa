// The program's audio functions against the global audioSystem, in the mode
// without a device so the test decides when the mix advances.

#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "AudioTestFiles.h"
#include "audio/Audio.h"
#include "audio/MixFormat.h"
#include "audio/SoundSystem.h"
#include "support/TempDir.h"

namespace {

const std::string NOT_FOUND_AND_NO_SOUND =
    "FMOD error! 22 File not found. \n"
    "FMOD error! 35 An invalid object handle was used. \n";

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
    void SetUp() override { EXPECT_EQ(standardOutputOf(initAudioWithoutDevice), ""); }

    void TearDown() override {
        delete audioSystem;
        audioSystem = nullptr;
    }

    std::vector<float> render(int frames) {
        std::vector<float> mix(static_cast<size_t>(frames) * MIX_CHANNELS);
        EXPECT_EQ(audioSystem->render(mix.data(), frames), 0);
        return mix;
    }

    int playing() { return audioSystem->playingChannelCount(); }

    TempDir folder;
};

}  // namespace

TEST_F(AudioCues, MusicNumberBecomesTheDigitOfTheTrackName) {
    testaudio::writeSineMp3(folder.file("data/music/music0.mp3"), MIX_RATE, 4410, 220.0f);
    testaudio::writeConstantWav(folder.file("data/music/music9.mp3"), MIX_RATE, 4410, {0.1f});
    WorkingDirectory inFolder(folder.path());

    EXPECT_EQ(standardOutputOf([] { playMusic(0); }), "");
    EXPECT_EQ(playing(), 1);
    EXPECT_EQ(standardOutputOf([] { playMusic(9); }), "");
    EXPECT_EQ(playing(), 2);
    EXPECT_EQ(standardOutputOf([] { playMusic(1); }), NOT_FOUND_AND_NO_SOUND);
    EXPECT_EQ(playing(), 2);
    // '0' + 265 wraps to '9'.
    EXPECT_EQ(standardOutputOf([] { playMusic(265); }), "");
    EXPECT_EQ(playing(), 3);
}

TEST_F(AudioCues, EachCuePlaysItsOwnFileSilentlyOnItsOwnChannel) {
    struct Cue {
        const char* file;
        void (*play)();
    };
    // In the order the show plays them, each file written only when its cue is
    // tried, so a cue that opened another cue's file would be heard too early
    // or not at all.
    const Cue cues[] = {{"data/music/music1.mp3", [] { playMusic(1); }}, {"data/wav/jump.wav", playJump},
                        {"data/wav/cowards.wav", playCowards},           {"data/wav/spit.wav", playSpit},
                        {"data/wav/illgetyou.wav", playIllGetYou},       {"data/wav/warcry.wav", playWarcry}};
    WorkingDirectory inFolder(folder.path());
    int channels = 0;
    for (const Cue& cue : cues) {
        EXPECT_EQ(standardOutputOf(cue.play), NOT_FOUND_AND_NO_SOUND) << cue.file;
        if (cue.play == cues[0].play) {
            testaudio::writeSineMp3(folder.file(cue.file), MIX_RATE, MIX_RATE, 220.0f);
        } else {
            testaudio::writeSineWav(folder.file(cue.file), 22050, 22050, 440.0f);
        }
        EXPECT_EQ(standardOutputOf(cue.play), "") << cue.file;
        EXPECT_EQ(playing(), ++channels) << cue.file;
    }
    EXPECT_GT(peak(render(2000)), 0.1f);
}

TEST_F(AudioCues, MissingCueReportsFileNotFoundAtItsCueAndTheMusicGoesOn) {
    testaudio::writeSineMp3(folder.file("data/music/music1.mp3"), MIX_RATE, MIX_RATE, 220.0f);
    WorkingDirectory inFolder(folder.path());
    EXPECT_EQ(standardOutputOf([] { playMusic(1); }), "");
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
    auto play = [&](const char* name) {
        std::string path = folder.file(name);
        return standardOutputOf([&] { playFile(path.c_str()); });
    };
    const std::string noSound = "FMOD error! 35 An invalid object handle was used. \n";

    EXPECT_EQ(play("folder.wav"), "FMOD error! 22 File not found. \n" + noSound);
    EXPECT_EQ(play("text.wav"), "FMOD error! 24 Unsupported file or audio format. \n" + noSound);
    EXPECT_EQ(play("broken.wav"), "FMOD error! 19 Error loading file. \n" + noSound);
    EXPECT_EQ(play("noise.mp3"), "FMOD error! 19 Error loading file. \n" + noSound);
    EXPECT_EQ(playing(), 0);
}

TEST_F(AudioCues, CueWithoutASystemReportsBothCallsAndDoesNotCrash) {
    delete audioSystem;
    audioSystem = nullptr;

    EXPECT_EQ(standardOutputOf(playJump),
              "FMOD error! 35 An invalid object handle was used. \n"
              "FMOD error! 35 An invalid object handle was used. \n");
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
        ended = audioSystem->playingChannelCount() == 0;
    }
    EXPECT_TRUE(ended);
    delete audioSystem;
    audioSystem = nullptr;
}

TEST(AudioDevice, FailedDeviceOpenFallsBackToTheSilentDriverWithoutAWord) {
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
        testing::ExitedWithCode(0), "");
}
