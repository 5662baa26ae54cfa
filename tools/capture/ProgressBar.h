#pragma once

#include <chrono>

// A one-line progress bar on the terminal: frames done, frames per second and
// the time left. Prints nothing when standard error is not a terminal.
class ProgressBar {
public:
    explicit ProgressBar(int totalFrames);
    void update(int framesDone);
    void finish();

private:
    int total;
    bool enabled;
    std::chrono::steady_clock::time_point started;
    std::chrono::steady_clock::time_point lastDrawn;
};
