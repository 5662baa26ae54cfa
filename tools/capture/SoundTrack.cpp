#include "SoundTrack.h"

#include <sndfile.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "FinishedFile.h"

namespace {

// libsndfile encodes into memory, through its virtual file interface, so
// that the file is written, checked and named by one writer like every
// other the tool makes.
struct MemoryFile {
    std::vector<std::uint8_t> bytes;
    sf_count_t position = 0;
};

MemoryFile& memoryFile(void* user) {
    return *static_cast<MemoryFile*>(user);
}

sf_count_t memoryLength(void* user) {
    return static_cast<sf_count_t>(memoryFile(user).bytes.size());
}

sf_count_t memorySeek(sf_count_t offset, int whence, void* user) {
    MemoryFile& file = memoryFile(user);
    const sf_count_t base = whence == SEEK_SET ? 0 : whence == SEEK_CUR ? file.position : memoryLength(user);
    file.position = std::max<sf_count_t>(0, base + offset);
    return file.position;
}

sf_count_t memoryRead(void* target, sf_count_t count, void* user) {
    MemoryFile& file = memoryFile(user);
    const sf_count_t available = std::max<sf_count_t>(0, memoryLength(user) - file.position);
    count = std::min(count, available);
    std::memcpy(target, file.bytes.data() + file.position, static_cast<size_t>(count));
    file.position += count;
    return count;
}

sf_count_t memoryWrite(const void* source, sf_count_t count, void* user) {
    MemoryFile& file = memoryFile(user);
    const size_t end = static_cast<size_t>(file.position + count);
    if (end > file.bytes.size()) {
        file.bytes.resize(end);
    }
    std::memcpy(file.bytes.data() + file.position, source, static_cast<size_t>(count));
    file.position += count;
    return count;
}

sf_count_t memoryTell(void* user) {
    return memoryFile(user).position;
}

// The bytes of the WAV file in `wav`; false when libsndfile fails.
bool encodeWav(const std::vector<float>& stereo, int rate, MemoryFile& wav) {
    SF_INFO info = {};
    info.samplerate = rate;
    info.channels = 2;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    SF_VIRTUAL_IO memory = {memoryLength, memorySeek, memoryRead, memoryWrite, memoryTell};
    SNDFILE* encoder = sf_open_virtual(&memory, SFM_WRITE, &info, &wav);
    if (!encoder) {
        return false;
    }
    const sf_count_t frames = static_cast<sf_count_t>(stereo.size() / 2);
    const bool encoded = sf_writef_float(encoder, stereo.data(), frames) == frames;
    // Closing writes the sizes into the header.
    return sf_close(encoder) == 0 && encoded;
}

}  // namespace

bool writeSoundTrack(const std::string& path, const std::vector<float>& stereo, int rate) {
    MemoryFile wav;
    std::string error = "cannot write " + path + ": libsndfile could not encode the sound";
    if (encodeWav(stereo, rate, wav) && writeFinishedFile(path, wav.bytes, error)) {
        return true;
    }
    std::fprintf(stderr, "getzorbi-capture: %s\n", error.c_str());
    return false;
}
