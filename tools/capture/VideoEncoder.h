#pragma once

#include <sys/types.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

// Hands frames to Debian's ffmpeg through a pipe and encodes them as H.264.
class VideoEncoder {
public:
    // Starts ffmpeg writing `path`; false (after a message) when ffmpeg is
    // not on PATH or cannot be started.
    bool open(const std::string& path, int width, int height, int framesPerSecond);

    // One RGBA bottom-up frame.
    bool addFrame(const std::vector<std::uint8_t>& rgbaBottomUp);

    // Waits for ffmpeg; true when it finished cleanly.
    bool close();

private:
    FILE* pipe = nullptr;
    pid_t ffmpeg = -1;
};

// True when `program` is an executable found on PATH.
bool programOnPath(const std::string& program);

// Puts the WAV sound track under the silent video, writing `output`.
bool muxSound(const std::string& silentVideo, const std::string& soundTrack, const std::string& output);
