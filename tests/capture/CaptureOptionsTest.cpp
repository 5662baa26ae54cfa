// The capture tool's command line and its progress report, without running
// the show: what is accepted, what is refused and with which message.

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "CaptureOptions.h"
#include "ProgressBar.h"
#include "support/TempDir.h"

namespace {

struct Parsed {
    bool ok;
    CaptureOptions options;
    std::string error;
};

Parsed parse(const std::vector<std::string>& arguments) {
    Parsed parsed;
    parsed.ok = parseCaptureOptions(arguments, parsed.options, parsed.error);
    return parsed;
}

}  // namespace

TEST(CaptureOptions, EachOutputIsEnoughToRunAndItsValuesAreKept) {
    Parsed stills = parse({"--still", "12.5", "--still", "30", "--size", "320x240", "--fps", "30", "--out", "shots"});
    ASSERT_TRUE(stills.ok) << stills.error;
    EXPECT_EQ(stills.options.stills, (std::vector<double>{12.5, 30.0}));
    EXPECT_EQ(stills.options.width, 320);
    EXPECT_EQ(stills.options.height, 240);
    EXPECT_EQ(stills.options.framesPerSecond, 30);
    EXPECT_EQ(stills.options.outputFolder, "shots");

    for (const std::vector<std::string>& run : {std::vector<std::string>{"--sequence", "--end", "2"},
                                                {"--video", "show.mp4"},
                                                {"--audio", "show.wav"},
                                                {"--timedemo"},
                                                {"--help"}}) {
        Parsed parsed = parse(run);
        EXPECT_TRUE(parsed.ok) << run[0] << ": " << parsed.error;
    }
}

TEST(CaptureOptions, ARunWithNothingToWriteIsRefused) {
    for (const std::vector<std::string>& run :
         {std::vector<std::string>{}, {"--data", "build/run", "--size", "320x240", "--end", "5"}}) {
        Parsed parsed = parse(run);
        EXPECT_FALSE(parsed.ok);
        EXPECT_EQ(parsed.error, "nothing to write: give --still, --sequence, --video, --audio or --timedemo");
    }
}

TEST(CaptureOptions, EachMessageNamesOnlyTheOptionAtFault) {
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"--bogus", "--timedemo"}, "unknown option: --bogus"},
        {{"--timedemo", "--bogus"}, "unknown option: --bogus"},
        {{"--timedemo", "stray"}, "unknown option: stray"},
        {{"--timedemo", "--video"}, "--video needs a value"},
        {{"--timedemo", "--end", "-1"}, "--end wants a number of seconds from 0 on, not -1"},
        {{"--still", "abc"}, "--still wants a number of seconds from 0 on, not abc"},
        {{"--still", "nan"}, "--still wants a number of seconds from 0 on, not nan"},
        {{"--still", "1", "--fps", "0"}, "--fps wants a whole number of frames per second from 1 to 1000, not 0"},
        {{"--still", "1", "--fps", "29.97"},
         "--fps wants a whole number of frames per second from 1 to 1000, not 29.97"},
        {{"--still", "1", "--size", "800x600x"},
         "--size wants WIDTHxHEIGHT up to 8192x8192, e.g. 800x600, not 800x600x"},
        {{"--timedemo", "--start", "5", "--end", "4"}, "--end comes before --start"},
    };
    for (const auto& [arguments, message] : cases) {
        Parsed parsed = parse(arguments);
        EXPECT_FALSE(parsed.ok) << message;
        EXPECT_EQ(parsed.error, message);
    }
}

TEST(CaptureOptions, TheHelpShowsTheVersionAndTheNamesTheFilesGet) {
    EXPECT_EQ(stillFileName(12.5), "still-012.50.png");
    EXPECT_EQ(frameFileName(42), "frame-000042.png");
    const std::string usage = CAPTURE_USAGE;
    // The release's version is the first line of VERSION, as its tarballs are named.
    const std::string versionFile = readWholeFile(ZORBI_SOURCE_DIR "/VERSION");
    EXPECT_EQ(usage.rfind("getzorbi-capture " + versionFile.substr(0, versionFile.find('\n')) + "\n", 0), 0u) << usage;
    EXPECT_NE(usage.find(stillFileName(12.5)), std::string::npos);
    EXPECT_NE(usage.find(frameFileName(0)), std::string::npos);
}

// Away from a terminal the progress is whole lines: one when the first frame
// is done and one at each tenth, however many frames the run has.
TEST(ProgressBar, InALogItPrintsALineAtTheFirstFrameAndEachTenth) {
    for (int total : {7, 100, 2701}) {
        std::FILE* log = std::tmpfile();
        ASSERT_NE(log, nullptr);
        {
            ProgressBar progress(total, log);
            for (int frame = 1; frame <= total; ++frame) {
                progress.update(frame);
            }
            progress.finish();
        }
        std::rewind(log);
        std::vector<std::string> lines;
        char line[256];
        while (std::fgets(line, sizeof line, log)) {
            lines.push_back(line);
        }
        std::fclose(log);
        const std::string last =
            "getzorbi-capture: 100 % (" + std::to_string(total) + " of " + std::to_string(total) + " frames";
        ASSERT_FALSE(lines.empty());
        EXPECT_EQ(lines.front().rfind("getzorbi-capture: ", 0), 0u) << lines.front();
        EXPECT_EQ(lines.back().rfind(last, 0), 0u) << lines.back();
        if (total == 100) {
            EXPECT_EQ(lines.front(), "getzorbi-capture: 1 % (1 of 100 frames)\n");
        }
        if (total >= 10) {
            EXPECT_EQ(lines.size(), 11u) << total << " frames";
            EXPECT_EQ(lines[1].rfind("getzorbi-capture: 10 % (", 0), 0u) << lines[1];
        } else {
            EXPECT_LE(lines.size(), 11u);
        }
    }
}
