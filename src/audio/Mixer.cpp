#include "audio/Mixer.h"

#include <algorithm>

#include "audio/AudioResult.h"
#include "audio/MixFormat.h"

namespace {

constexpr int SCRATCH_FRAMES = 1024;

}  // namespace

Mixer::Mixer() : scratch(static_cast<size_t>(SCRATCH_FRAMES) * MIX_CHANNELS, 0.0f) {}

Mixer::~Mixer() {
    deleteAll();
}

void Mixer::setChannelCount(int count) {
    deleteAll();
    slots.assign(static_cast<size_t>(std::max(count, 0)), nullptr);
}

int Mixer::place(Channel* channel, int channelIndex, std::vector<Channel*>& retired) {
    if (channelIndex < ANY_FREE_CHANNEL || channelIndex >= channelCount()) {
        return AUDIO_INVALID_PARAMETER;
    }
    for (Channel*& slot : slots) {
        if (slot && slot->finished) {
            retired.push_back(slot);
            slot = nullptr;
        }
    }
    if (channelIndex == ANY_FREE_CHANNEL) {
        auto freeSlot = std::find(slots.begin(), slots.end(), nullptr);
        if (freeSlot == slots.end()) {
            return AUDIO_NO_FREE_CHANNEL;
        }
        *freeSlot = channel;
        return AUDIO_OK;
    }
    // A given index takes its slot even from a channel that is still playing.
    if (slots[channelIndex]) {
        retired.push_back(slots[channelIndex]);
    }
    slots[channelIndex] = channel;
    return AUDIO_OK;
}

void Mixer::mix(float* out, int frames) {
    std::fill(out, out + static_cast<size_t>(frames) * MIX_CHANNELS, 0.0f);
    for (Channel* channel : slots) {
        if (channel && !channel->finished && !channel->paused) {
            channel->mixInto(out, frames, scratch.data(), SCRATCH_FRAMES);
        }
    }
    for (size_t i = 0; i < static_cast<size_t>(frames) * MIX_CHANNELS; ++i) {
        out[i] = std::clamp(out[i] * MASTER_GAIN, -1.0f, 1.0f);
    }
}

int Mixer::playingCount() const {
    return static_cast<int>(std::count_if(slots.begin(), slots.end(),
                                          [](const Channel* channel) { return channel && !channel->finished; }));
}

void Mixer::deleteAll() {
    for (Channel* channel : slots) {
        delete channel;
    }
    slots.clear();
}
