#pragma once

#include <string>
#include <vector>

// Writes interleaved stereo floats as a 16-bit WAV file; false after a message.
bool writeSoundTrack(const std::string& path, const std::vector<float>& stereo, int rate);
