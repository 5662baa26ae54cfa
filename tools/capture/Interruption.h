#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

// Ctrl+C (SIGINT) and SIGTERM while the capture tool makes a video. The tool
// still ends by the signal, with the status a shell expects (130 or 143), but
// first kills and reaps the ffmpeg it runs and removes the files of the video
// in progress, so that neither an ffmpeg nor a half-made video is left behind,
// and says so in one line. Without a video in progress a signal just ends it.

// From now on an interruption removes `files` and prints `line`.
void removeOnInterrupt(const std::vector<std::string>& files, const std::string& line);

// The ffmpeg running now, which an interruption kills; -1 when none runs.
void setInterruptedChild(pid_t child);

// Renames the finished `temporary` file to `final` and forgets what an
// interruption would remove, in one step that no signal can split; false
// (after a message) when the rename fails.
bool publishFinishedFile(const std::string& temporary, const std::string& final);
