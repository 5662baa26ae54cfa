// The hand-over of frames to ffmpeg, with a stand-in ffmpeg on PATH: every
// frame arrives whole and in order through the queue, and an ffmpeg that
// ends early is reported as a failure instead of ending the tool.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "VideoEncoder.h"
#include "support/TempDir.h"

namespace {

// Puts an executable `ffmpeg` running `script` first on PATH while it lives.
class StandInFfmpeg {
public:
    explicit StandInFfmpeg(const std::string& script) : previousPath(std::getenv("PATH")) {
        folder.write("ffmpeg", "#!/bin/sh\n" + script + "\n");
        chmod(folder.file("ffmpeg").c_str(), 0755);
        setenv("PATH", (folder.path() + ":" + previousPath).c_str(), 1);
    }
    ~StandInFfmpeg() { setenv("PATH", previousPath.c_str(), 1); }

private:
    TempDir folder;
    std::string previousPath;
};

std::vector<std::uint8_t> frameFilledWith(std::uint8_t value) {
    return std::vector<std::uint8_t>(64 * 48 * 4, value);
}

}  // namespace

TEST(VideoEncoder, EveryFrameReachesFfmpegWholeAndInOrder) {
    TempDir out;
    // The last argument is the file to write: here, the raw frames as received.
    StandInFfmpeg ffmpeg("for last; do :; done; exec cat > \"$last\"");
    VideoEncoder encoder;
    ASSERT_TRUE(encoder.open(out.file("raw"), 64, 48, 60));
    std::string expected;
    const int frames = 3 * int(VideoEncoder::QUEUE_DEPTH) + 1;
    for (int frame = 0; frame < frames; ++frame) {
        std::vector<std::uint8_t> picture = frameFilledWith(std::uint8_t(frame));
        expected.append(picture.begin(), picture.end());
        ASSERT_TRUE(encoder.addFrame(std::move(picture))) << frame;
    }
    ASSERT_TRUE(encoder.close());
    EXPECT_TRUE(readWholeFile(out.file("raw")) == expected) << "frames lost, cut or out of order";
}

// With nobody reading the pipe, a write raises SIGPIPE, which used to end the
// tool without a word.
TEST(VideoEncoder, AnFfmpegThatEndsEarlyFailsTheVideoAndNotTheTool) {
    TempDir out;
    StandInFfmpeg ffmpeg("exit 1");
    VideoEncoder encoder;
    ASSERT_TRUE(encoder.open(out.file("show.mp4"), 64, 48, 60));
    bool accepted = true;
    for (int frame = 0; frame < 1000 && accepted; ++frame) {
        accepted = encoder.addFrame(frameFilledWith(7));
    }
    EXPECT_FALSE(accepted) << "frames kept being accepted after ffmpeg had gone";
    EXPECT_FALSE(encoder.close());
}
