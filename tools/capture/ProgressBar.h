#pragma once

#include <chrono>
#include <cstdio>

// Progress of a run, on `stream` (standard error). On a terminal, a one-line
// bar redrawn in place: frames done, frames per second and the time left.
// Anywhere else (a log, a pipe) a line after the first frame, which is when
// loading is over, and one at every tenth of the run, so a log shows that the
// run is alive without filling up.
class ProgressBar {
public:
    explicit ProgressBar(int totalFrames, std::FILE* stream = stderr);
    // The last frame, framesDone == totalFrames, is always shown.
    void update(int framesDone);
    // Leaves the terminal line to what follows; an interrupted run's display
    // stays at the frame it reached.
    void finish();

private:
    void drawBar(int framesDone, double rate, int secondsLeft);
    void printLine(int framesDone, double rate, int secondsLeft);

    int total;
    std::FILE* stream;
    bool onTerminal;
    int lastTenthPrinted = -1;  // of the run, in line mode
    std::chrono::steady_clock::time_point started;
    std::chrono::steady_clock::time_point lastDrawn;
};
