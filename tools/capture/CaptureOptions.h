#pragma once

#include <string>
#include <vector>

#include "ShowFacts.h"

// What one run of the capture tool does, from its command line.
struct CaptureOptions {
    std::string dataFolder = ".";  // the ready-to-run folder the show plays from
    int width = 800;
    int height = 600;
    int framesPerSecond = 60;
    double startSeconds = 0.0;         // the first moment written
    double endSeconds = SHOW_SECONDS;  // the last moment played
    std::vector<double> stills;        // seconds of the show to save as PNG
    bool sequence = false;             // every frame from start to end as PNG
    std::string videoFile;             // MP4 with sound, through ffmpeg
    std::string audioFile;             // the sound track alone, as WAV
    bool timedemo = false;
    std::string outputFolder = ".";
    bool help = false;
};

// Reads the arguments; false after a message naming the bad one in `error`.
// A run that would write nothing (no still, sequence, video, sound track or
// timedemo report) is refused too: it would play the show for nothing.
bool parseCaptureOptions(const std::vector<std::string>& arguments, CaptureOptions& options, std::string& error);

// The names of the PNG files in the output folder: "still-012.50.png" for the
// still at 12.5 s, "frame-000042.png" for frame 42 of a sequence.
std::string stillFileName(double seconds);
std::string frameFileName(int frame);

extern const std::string CAPTURE_USAGE;
