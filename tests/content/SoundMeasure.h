#pragma once

#include <cstddef>
#include <string>
#include <vector>

// Measuring the show's sound the way the audience gets it: files decoded
// through the program's own audio channel, levels in dBFS over stretches of
// interleaved stereo at the mixing rate.

// Every frame of a file below the ready-to-run folder as the mixer receives
// it: stereo at MIX_RATE, before the master gain.
std::vector<float> decodeForMix(const std::string& relativePath);

// The interleaved sample index of `seconds` into stereo at MIX_RATE.
size_t stereoIndexAt(double seconds);

double peakDecibels(const std::vector<float>& samples);
// Root mean square over samples [from, to), in dBFS.
double rmsDecibels(const std::vector<float>& samples, size_t from, size_t to);
// The largest |mean| of either channel over [from, to) of interleaved stereo.
double largestChannelMean(const std::vector<float>& stereo, size_t from, size_t to);
