#include "formats/WavWriter.h"

#include <cmath>

#include "formats/FileWriter.h"

namespace {

void appendText(std::vector<std::uint8_t>& out, const char* text) {
    for (int i = 0; i < 4; ++i) {
        out.push_back(static_cast<std::uint8_t>(text[i]));
    }
}

void appendLittleEndian(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    }
}

// Rounds to the nearest step of 1/32767; anything beyond full scale is held there.
std::int16_t toPcm16(float sample) {
    const double scaled = std::round(static_cast<double>(sample) * 32767.0);
    if (scaled > 32767.0) {
        return 32767;
    }
    if (scaled < -32767.0) {
        return -32767;
    }
    return static_cast<std::int16_t>(scaled);
}

}  // namespace

std::vector<std::uint8_t> encodeWav(const std::vector<float>& interleavedSamples, int channels, int sampleRate) {
    const std::uint32_t dataBytes = static_cast<std::uint32_t>(interleavedSamples.size() * 2);
    std::vector<std::uint8_t> out;
    out.reserve(44 + dataBytes);
    appendText(out, "RIFF");
    appendLittleEndian(out, 36 + dataBytes, 4);
    appendText(out, "WAVE");
    appendText(out, "fmt ");
    appendLittleEndian(out, 16, 4);
    appendLittleEndian(out, 1, 2);  // integer PCM
    appendLittleEndian(out, static_cast<std::uint32_t>(channels), 2);
    appendLittleEndian(out, static_cast<std::uint32_t>(sampleRate), 4);
    appendLittleEndian(out, static_cast<std::uint32_t>(sampleRate * channels * 2), 4);  // bytes per second
    appendLittleEndian(out, static_cast<std::uint32_t>(channels * 2), 2);               // bytes per frame
    appendLittleEndian(out, 16, 2);
    appendText(out, "data");
    appendLittleEndian(out, dataBytes, 4);
    for (float sample : interleavedSamples) {
        appendLittleEndian(out, static_cast<std::uint16_t>(toPcm16(sample)), 2);
    }
    return out;
}

bool writeWav(const std::string& path, const std::vector<float>& interleavedSamples, int channels, int sampleRate) {
    return writeFileBytes(path, encodeWav(interleavedSamples, channels, sampleRate));
}
