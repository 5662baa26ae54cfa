#pragma once

#include <string>
#include <vector>

// Encodes interleaved float samples to an MPEG-1 Layer III file through
// libsndfile's MP3 writer, at a constant bit rate of about 160 kbit/s. Makes
// the file's folders; false after one line on standard error.
bool writeMp3(const std::string& path, const std::vector<float>& interleavedSamples, int channels, int sampleRate);
