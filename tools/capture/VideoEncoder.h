#pragma once

#include <sys/types.h>

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// Hands frames to Debian's ffmpeg through a pipe and encodes them as H.264.
// A thread of its own writes them, a few frames behind: rendering and
// encoding share the same cores, and while one waits for the other the
// queue lets it go on with the next frame instead of leaving a core idle.
class VideoEncoder {
public:
    ~VideoEncoder();

    // Starts ffmpeg writing `path`; false (after a message) when ffmpeg is
    // not on PATH or cannot be started.
    bool open(const std::string& path, int width, int height, int framesPerSecond);

    // Queues one RGBA bottom-up frame, waiting while the queue is full;
    // false once writing to ffmpeg has failed.
    bool addFrame(std::vector<std::uint8_t> rgbaBottomUp);

    // Writes what is queued, then waits for ffmpeg; true when every frame
    // reached it and it finished cleanly.
    bool close();

    // Frames that may wait for ffmpeg: enough to ride out its pauses, a
    // few MiB at the sizes captured.
    static constexpr std::size_t QUEUE_DEPTH = 4;

private:
    void writeQueuedFrames();

    int pipeEnd = -1;
    pid_t ffmpeg = -1;
    std::thread writer;
    std::mutex queueLock;
    std::condition_variable queueChanged;
    std::deque<std::vector<std::uint8_t>> queue;
    bool noMoreFrames = false;
    bool writeFailed = false;
};

// True when `program` is an executable found on PATH.
bool programOnPath(const std::string& program);

// Puts the WAV sound track under the silent video, writing `output`.
bool muxSound(const std::string& silentVideo, const std::string& soundTrack, const std::string& output);
