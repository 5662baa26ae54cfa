#pragma once

#include <string>
#include <vector>

// Writes interleaved stereo floats as a 16-bit WAV file that appears only once
// whole (FinishedFile.h); false after a line naming the file and why.
bool writeSoundTrack(const std::string& path, const std::vector<float>& stereo, int rate);
