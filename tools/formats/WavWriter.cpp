#include "formats/WavWriter.h"

#include <cmath>

#include "formats/ByteSink.h"
#include "formats/FileWriter.h"

namespace {

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
    ByteSink out;
    out.bytes.reserve(44 + dataBytes);
    out.text("RIFF", 4);
    out.uint32(36 + dataBytes);
    out.text("WAVE", 4);
    out.text("fmt ", 4);
    out.uint32(16);
    out.uint16(1);  // integer PCM
    const std::uint32_t frameBytes = static_cast<std::uint32_t>(channels) * 2;
    out.uint16(static_cast<std::uint32_t>(channels));
    out.uint32(static_cast<std::uint32_t>(sampleRate));
    out.uint32(static_cast<std::uint32_t>(sampleRate) * frameBytes);  // bytes per second
    out.uint16(frameBytes);
    out.uint16(16);
    out.text("data", 4);
    out.uint32(dataBytes);
    for (float sample : interleavedSamples) {
        out.int16(toPcm16(sample));
    }
    return out.bytes;
}

bool writeWav(const std::string& path, const std::vector<float>& interleavedSamples, int channels, int sampleRate) {
    return writeFileBytes(path, encodeWav(interleavedSamples, channels, sampleRate));
}
