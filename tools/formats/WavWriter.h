#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Samples in [-1, 1] as a 16-bit PCM WAV file: the canonical 44-byte header
// and nothing else, so the bytes depend only on the samples.
std::vector<std::uint8_t> encodeWav(const std::vector<float>& interleavedSamples, int channels, int sampleRate);

// Writes the file, making its folders; false after a message on standard error.
bool writeWav(const std::string& path, const std::vector<float>& interleavedSamples, int channels, int sampleRate);
