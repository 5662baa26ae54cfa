// The capture tool run for real, under an X server of its own: what it
// writes, that it writes the same thing every time, and what the pictures and
// the sound track show.

#include <gtest/gtest.h>
#include <signal.h>
#include <stb_image.h>
#include <sys/stat.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <regex>
#include <string>
#include <vector>

#include "CaptureOptions.h"
#include "ShowFacts.h"
#include "audio/AudioTestFiles.h"
#include "formats/SoundFile.h"
#include "support/CaptureTool.h"
#include "support/ShowExpectations.h"
#include "support/TempDir.h"

namespace {

const char* GOLDEN_FOLDER = ZORBI_SOURCE_DIR "/tests/capture/golden";

struct Png {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> rgb;
};

Png loadPng(const std::string& path) {
    Png png;
    int channels = 0;
    unsigned char* pixels = stbi_load(path.c_str(), &png.width, &png.height, &channels, 3);
    if (pixels) {
        png.rgb.assign(pixels, pixels + static_cast<size_t>(png.width) * png.height * 3);
        stbi_image_free(pixels);
    }
    return png;
}

// Pixels whose largest channel difference is beyond what rasteriser rounding
// explains; a missing shadow or a misplaced figure changes hundreds of them.
int clearlyDifferentPixels(const Png& a, const Png& b) {
    int count = 0;
    for (size_t i = 0; i + 2 < a.rgb.size(); i += 3) {
        int largest = 0;
        for (int c = 0; c < 3; ++c) {
            largest = std::max(largest, std::abs(a.rgb[i + c] - b.rgb[i + c]));
        }
        count += largest > 48;
    }
    return count;
}

std::vector<float> readStereo(const std::string& path, int& rate) {
    SoundFile sound = readSoundFile(path);
    if (sound.opened) {
        rate = sound.rate;
    }
    return sound.samples;
}

// Where a sound starts: the first frame at or after `from` seconds where the
// two tracks part. Mixing adds channels, so the track with the cues minus the
// same show without them is the cues alone, however loud the music.
double onsetAfter(const std::vector<float>& withCues, const std::vector<float>& withoutCues, int rate, double from) {
    for (size_t i = static_cast<size_t>(from * rate) * 2; i < withCues.size() && i < withoutCues.size(); ++i) {
        if (withCues[i] != withoutCues[i]) {
            return static_cast<double>(i / 2) / rate;
        }
    }
    return -1.0;
}

double firstSound(const std::vector<float>& track, int rate) {
    for (size_t i = 0; i < track.size(); ++i) {
        if (track[i] != 0.0f) {
            return static_cast<double>(i / 2) / rate;
        }
    }
    return -1.0;
}

// The moment of the first frame whose time, as the timeline sees it, is past
// `threshold`: the frame on which a state fires.
double firingFrameSeconds(float threshold, int framesPerSecond) {
    for (int frame = 0;; ++frame) {
        long long ticks = std::llround(frame * 1000.0 / framesPerSecond);
        if (static_cast<float>(ticks) / 1000.0f > threshold) {
            return static_cast<double>(frame) / framesPerSecond;
        }
    }
}

// How long a sound file is silent before its first sample.
double leadingSilence(const std::string& relativePath) {
    SoundFile sound = readSoundFile(readyToRunFolder() + "/" + relativePath);
    for (size_t i = 0; i < sound.samples.size(); ++i) {
        if (sound.samples[i] != 0.0f) {
            return static_cast<double>(i / sound.channels) / sound.rate;
        }
    }
    return -1.0;
}

// The ready-to-run folder without its voice and effect cues: the show plays
// on, reporting each missing cue, with the music alone.
void prepareFolderWithoutCues(const TempDir& folder) {
    namespace fs = std::filesystem;
    const fs::path runFolder = readyToRunFolder();
    for (const char* entry : {"bump.vsh", "bump.fsh", "data/models", "data/tex", "data/gfx", "data/music"}) {
        fs::path target = fs::path(folder.path()) / entry;
        fs::create_directories(target.parent_path());
        fs::create_symlink(runFolder / entry, target);
    }
}

// The state letter of a process from /proc ('R', 'S', 'Z' for a zombie, ...),
// and the id of its parent; state 0 when there is no such process.
struct ProcessState {
    char state = 0;
    pid_t parent = 0;
};

ProcessState processState(pid_t process) {
    std::string stat = readWholeFile("/proc/" + std::to_string(process) + "/stat");
    // "pid (name) state parent ...": the name may hold anything but ends at the last ')'.
    size_t nameEnd = stat.rfind(')');
    ProcessState result;
    if (nameEnd != std::string::npos && nameEnd + 4 < stat.size()) {
        result.state = stat[nameEnd + 2];
        result.parent = static_cast<pid_t>(std::atoi(stat.c_str() + nameEnd + 4));
    }
    return result;
}

pid_t firstChildOf(pid_t parent) {
    for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
        pid_t process = static_cast<pid_t>(std::atoi(entry.path().filename().c_str()));
        if (process > 0 && processState(process).parent == parent) {
            return process;
        }
    }
    return 0;
}

}  // namespace

// Ctrl+C or kill while a video is made: ffmpeg goes with the tool, nothing is
// left under the name asked for nor under a temporary one, one line says so,
// and the tool ends by the signal, as a shell expects (130, 143).
TEST(CaptureProgram, InterruptedWhileMakingAVideoItLeavesNoVideoAndNoFfmpeg) {
    for (int signal : {SIGINT, SIGTERM}) {
        TempDir folder;
        std::string video = folder.file("show.mp4");
        CaptureTool capturing({"--size", "320x240", "--video", video});
        ChildProcess& tool = capturing.process;
        // ffmpeg runs from the first frame to the end of the run: the whole show
        // at this size takes seconds even on a fast machine.
        pid_t ffmpeg = 0;
        tool.waitUntil([&] { return (ffmpeg = firstChildOf(tool.pid())) != 0; }, 10);
        ASSERT_NE(ffmpeg, 0) << "ffmpeg never started: " << tool.report();

        tool.sendSignal(signal);
        ASSERT_TRUE(tool.waitForExit()) << strsignal(signal) << " did not end the tool";
        EXPECT_EQ(tool.terminatingSignal(), signal) << tool.report();
        char ffmpegState = processState(ffmpeg).state;
        EXPECT_TRUE(ffmpegState == 0 || ffmpegState == 'Z') << "ffmpeg still runs: " << ffmpegState;
        for (const auto& entry : std::filesystem::directory_iterator(folder.path())) {
            ADD_FAILURE() << "left behind: " << entry.path();
        }
        EXPECT_NE(tool.standardError().find("getzorbi-capture: interrupted, no video written to " + video + "\n"),
                  std::string::npos)
            << tool.report();
    }
}

TEST(CaptureProgram, HelpAndRefusedRuns) {
    CaptureRun help = capture({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.output.find("usage: getzorbi-capture"), std::string::npos);
    EXPECT_NE(help.output.find("still-012.50.png"), std::string::npos);

    const std::pair<std::vector<std::string>, std::string> refused[] = {
        {{"--size", "0x0", "--timedemo"}, "getzorbi-capture: --size wants WIDTHxHEIGHT"},
        {{"--bogus"}, "getzorbi-capture: unknown option: --bogus\n"},
        {{}, "getzorbi-capture: nothing to write: "},
    };
    for (const auto& [arguments, message] : refused) {
        CaptureRun run = capture(arguments);
        EXPECT_EQ(run.status, 2) << message;
        EXPECT_EQ(run.error.rfind(message, 0), 0u) << run.error;
        EXPECT_EQ(run.output, "");
    }
}

// The demo ends quietly with status 0 when its shader does not build; a tool
// whose stills or video scripts rely on must not report success then.
// An ffmpeg that stops reading used to end the tool by SIGPIPE, without a
// word and with its half-written file left behind.
TEST(CaptureProgram, AnFfmpegThatFailsMidwayLeavesAMessageAndNoFile) {
    TempDir tools, out;
    tools.write("ffmpeg", std::string("#!/bin/sh\nfor last; do :; done\nhead -c 1000 > \"$last\"\nexit 1\n"));
    chmod(tools.file("ffmpeg").c_str(), 0755);
    CaptureSetup withThatFfmpeg;
    withThatFfmpeg.environment = {"PATH=" + tools.path() + ":" + std::getenv("PATH")};
    CaptureRun run = capture({"--size", "64x48", "--end", "2", "--video", out.file("show.mp4")}, withThatFfmpeg);
    EXPECT_EQ(run.status, 1) << run.error;
    EXPECT_NE(run.error.find("getzorbi-capture: ffmpeg failed while encoding " + out.file("show.mp4")),
              std::string::npos)
        << run.error;
    for (const auto& entry : std::filesystem::directory_iterator(out.path())) {
        ADD_FAILURE() << "left behind: " << entry.path();
    }
}

// A full disk, here a limit on the size of each file: every file the tool
// writes is checked, and the first that cannot be written whole ends the run
// with status 1 and a line naming it with the system's reason. Progress stops
// short of a frame that was lost, and nothing is left under the file's name
// or beside it. Each used to end with status 0 or leave a cut-short file.
TEST(CaptureProgram, AFileThatCannotBeWrittenWholeEndsTheRunAndIsNotLeftBehind) {
    TempDir out;
    CaptureSetup fullDisk;
    fullDisk.fileSizeLimitKiB = 16;
    const struct {
        std::vector<std::string> arguments;
        std::string file;
        bool frameLost;
    } runs[] = {{{"--still", "1"}, stillFileName(1), true},  // the last frame played
                {{"--sequence"}, frameFileName(0), true},
                {{"--audio", out.file("show.wav")}, "show.wav", false}};
    for (const auto& [arguments, file, frameLost] : runs) {
        std::vector<std::string> all = {"--size", "160x120", "--end", "1", "--out", out.path()};
        all.insert(all.end(), arguments.begin(), arguments.end());
        CaptureRun run = capture(all, fullDisk);
        EXPECT_EQ(run.status, 1) << run.error;
        const std::string line = "getzorbi-capture: cannot write " + out.file(file) + ": File too large\n";
        EXPECT_EQ(run.error.substr(run.error.size() - std::min(run.error.size(), line.size())), line) << run.error;
        EXPECT_EQ(run.error.find("100 %") == std::string::npos, frameLost) << run.error;
        EXPECT_TRUE(std::filesystem::is_empty(out.path())) << file;
    }
}

TEST(CaptureProgram, AShaderThatDoesNotBuildFailsAndSaysNothingWasWritten) {
    TempDir data, out;
    prepareSwappableRunFolder(data, "");
    std::filesystem::remove(data.file("bump.vsh"));
    data.write("bump.vsh", std::string("this is not GLSL\n"));
    CaptureRun run = capture({"--size", "64x48", "--still", "1", "--out", out.path()}, data.path());
    EXPECT_NE(run.status, 0);
    EXPECT_NE(run.output.find("Compile Error in Vertex Shader...\n"), std::string::npos) << run.output;
    EXPECT_NE(run.error.find("nothing was written"), std::string::npos) << run.error;
    EXPECT_TRUE(std::filesystem::is_empty(out.path()));
}

// 256 channels wrapped to 0 inside SDL and ended the show with SIGFPE at the
// jump's cue; the cue now reports the format it cannot play and the show
// goes on to its still.
TEST(CaptureProgram, ASoundInAFormatNoRealFileHasIsReportedAtItsCue) {
    TempDir data, out;
    prepareSwappableRunFolder(data, "");
    std::filesystem::remove(data.file("data/wav/jump.wav"));
    testaudio::writeSilentWav(data.file("data/wav/jump.wav"), 256, 44100, 100);
    CaptureRun run = capture({"--size", "64x48", "--still", "11", "--out", out.path()}, data.path());
    EXPECT_EQ(run.status, 0) << run.error;
    EXPECT_NE(run.output.find("FMOD error! 24 Unsupported file or audio format. \n"), std::string::npos) << run.output;
    EXPECT_TRUE(std::filesystem::exists(out.file(stillFileName(11))));
}

// Also what a log shows: the files written on standard output, and progress
// as whole lines on standard error, which is a pipe here.
TEST(CaptureProgram, TheSameOptionsGiveTheSameFrames) {
    TempDir first, second;
    for (const TempDir* folder : {&first, &second}) {
        CaptureRun run = capture({"--size", "320x240", "--fps", "30", "--still", "6.5", "--out", folder->path()});
        ASSERT_EQ(run.status, 0) << run.error;
        EXPECT_NE(run.output.find("getzorbi-capture: wrote " + folder->file(stillFileName(6.5)) + "\n"),
                  std::string::npos)
            << run.output;
        EXPECT_NE(run.error.find("getzorbi-capture: 100 % (196 of 196 frames"), std::string::npos) << run.error;
        EXPECT_EQ(run.error.find('\r'), std::string::npos);
    }
    std::string a = readWholeFile(first.file(stillFileName(6.5)));
    ASSERT_FALSE(a.empty());
    EXPECT_EQ(a, readWholeFile(second.file(stillFileName(6.5))));
}

TEST(CaptureProgram, KeyMomentsMatchTheGoldenFrames) {
    TempDir folder;
    std::vector<std::string> arguments = {"--size", "320x240", "--fps", "30", "--out", folder.path()};
    for (double moment : GOLDEN_MOMENTS) {
        arguments.push_back("--still");
        arguments.push_back(std::to_string(moment));
    }
    CaptureRun run = capture(arguments);
    ASSERT_EQ(run.status, 0) << run.error;
    for (double moment : GOLDEN_MOMENTS) {
        Png frame = loadPng(folder.file(stillFileName(moment)));
        Png golden = loadPng(std::string(GOLDEN_FOLDER) + "/" + stillFileName(moment));
        ASSERT_EQ(frame.width, 320);
        ASSERT_EQ(golden.width, 320) << "golden frame missing: scripts/stills.sh golden makes them";
        ASSERT_EQ(frame.height, golden.height);
        EXPECT_LE(clearlyDifferentPixels(frame, golden), 40) << "at " << moment << " s";
    }
}

TEST(CaptureProgram, TheSoundTrackHasTheMusicAndEachCueAtItsFrame) {
    TempDir folder, withoutCues;
    prepareFolderWithoutCues(withoutCues);
    const std::vector<std::string> options = {"--size", "160x120", "--fps", "30", "--end", "38", "--audio"};
    std::vector<std::string> full = options, musicOnly = options;
    full.push_back(folder.file("show.wav"));
    musicOnly.push_back(folder.file("music.wav"));
    CaptureRun run = capture(full);
    ASSERT_EQ(run.status, 0) << run.error;
    EXPECT_NE(run.output.find("getzorbi-capture: wrote " + folder.file("show.wav")), std::string::npos);
    CaptureRun quieter = capture(musicOnly, withoutCues.path());
    ASSERT_EQ(quieter.status, 0) << quieter.error;
    EXPECT_NE(quieter.output.find("FMOD error! 22 File not found. \n"), std::string::npos);

    int rate = 0;
    std::vector<float> track = readStereo(folder.file("show.wav"), rate);
    std::vector<float> music = readStereo(folder.file("music.wav"), rate);
    ASSERT_EQ(rate, MIX_RATE);
    EXPECT_NEAR(track.size() / 2.0 / rate, 38.0 + 1.0 / 30, 0.01);

    EXPECT_NEAR(firstSound(track, rate), firingFrameSeconds(MUSIC_CUE.seconds, 30) + leadingSilence(MUSIC_CUE.file),
                0.001);
    for (const ExpectedCue& cue : SOUND_CUES) {
        double expected = firingFrameSeconds(cue.seconds, 30) + leadingSilence(cue.file);
        EXPECT_NEAR(onsetAfter(track, music, rate, cue.seconds - 0.5), expected, 0.001) << cue.file;
    }
}

TEST(CaptureProgram, AVideoHasPicturesAndSound) {
    TempDir folder;
    CaptureRun run =
        capture({"--size", "160x120", "--fps", "30", "--start", "1", "--end", "3", "--video", folder.file("clip.mp4")});
    ASSERT_EQ(run.status, 0) << run.error;
    EXPECT_NE(run.output.find("clip.mp4"), std::string::npos);
    std::string streams =
        shellOutput("ffprobe -v error -show_entries stream=codec_type -of csv=p=0 " + folder.file("clip.mp4"));
    EXPECT_NE(streams.find("video"), std::string::npos);
    EXPECT_NE(streams.find("audio"), std::string::npos);
    std::string frames = shellOutput(
        "ffprobe -v error -count_frames -select_streams v:0 -show_entries "
        "stream=nb_read_frames -of csv=p=0 " +
        folder.file("clip.mp4"));
    EXPECT_EQ(std::stoi("0" + frames), 61);

    // The recording fades out instead of stopping dead: its first frame shows
    // the stage, its last is black.
    auto meanGreyOfFrame = [&](int frame) {
        std::string grey = shellOutput("ffmpeg -v error -i " + folder.file("clip.mp4") + " -vf 'select=eq(n\\," +
                                       std::to_string(frame) + ")' -frames:v 1 -f rawvideo -pix_fmt gray -");
        double sum = 0.0;
        for (unsigned char value : grey) {
            sum += value;
        }
        return grey.empty() ? -1.0 : sum / grey.size();
    };
    EXPECT_GT(meanGreyOfFrame(0), 30.0);
    EXPECT_LT(meanGreyOfFrame(60), 3.0);
}

TEST(CaptureProgram, ASequenceIsNumberedFromTheShowsFirstFrame) {
    TempDir folder;
    CaptureRun run = capture(
        {"--size", "80x60", "--fps", "10", "--start", "1", "--end", "1.2", "--sequence", "--out", folder.path()});
    ASSERT_EQ(run.status, 0) << run.error;
    EXPECT_NE(run.output.find("getzorbi-capture: wrote 3 frames, frame-000010.png to frame-000012.png, in " +
                              folder.path() + "\n"),
              std::string::npos)
        << run.output;
    for (int frame : {10, 11, 12}) {
        EXPECT_EQ(loadPng(folder.file(frameFileName(frame))).width, 80) << frame;
    }
    EXPECT_FALSE(std::filesystem::exists(folder.file(frameFileName(9))));
}

TEST(CaptureProgram, TimedemoPrintsFramesTimesTheBaselineAndTheFloor) {
    CaptureRun run = capture({"--size", "160x120", "--end", "1", "--timedemo"});
    ASSERT_EQ(run.status, 0) << run.error;
    EXPECT_TRUE(std::regex_search(
        run.output,
        std::regex(
            R"(^61 frames [0-9.]+ seconds [0-9.]+ fps; frame ms: median [0-9.]+, 99th [0-9.]+, worst [0-9.]+\n)")))
        << run.output;
    EXPECT_NE(run.output.find("baseline (clear and finish only): median"), std::string::npos);
    EXPECT_TRUE(
        std::regex_search(run.output, std::regex(R"(\nfloor \(.*\): median [0-9.]+ ms; frame/floor [0-9.]+\n)")))
        << run.output;
    EXPECT_NE(run.output.find("peak resident memory"), std::string::npos);
}
