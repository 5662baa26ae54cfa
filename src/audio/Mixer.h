#pragma once

#include <vector>

#include "audio/Channel.h"

// Channel index that lets the mixer pick any free slot.
constexpr int ANY_FREE_CHANNEL = -1;

// The slots of the playing channels and the mix of them. It knows nothing of
// devices or threads: the device callback calls mix, and so can a test or an
// off-line render, with the same result for the same channels. Whoever shares
// it between threads locks around place (the device lock, see SoundSystem).
class Mixer {
public:
    Mixer();
    ~Mixer();
    Mixer(const Mixer&) = delete;
    Mixer& operator=(const Mixer&) = delete;

    // Sets the number of slots; any channels in them are deleted.
    void setChannelCount(int count);
    int channelCount() const { return static_cast<int>(slots.size()); }

    // Puts a ready channel into slot `channelIndex`, or into any free slot for
    // ANY_FREE_CHANNEL; a slot is free when it is empty or its channel has
    // finished. The channels it takes out (finished ones, and the one a given
    // index replaces) are appended to `retired` for the caller to delete
    // outside any lock. Returns a result code; on failure the caller keeps
    // `channel`.
    int place(Channel* channel, int channelIndex, std::vector<Channel*>& retired);

    // Writes `frames` stereo frames: the sum of every playing, unpaused
    // channel, scaled by the master gain and clamped to [-1, 1].
    void mix(float* out, int frames);

    // Channels that have not finished, paused ones included.
    int playingCount() const;

    std::vector<Channel*> slots;  // null where nothing has played since the last clear-out
    std::vector<float> scratch;   // receives one channel's frames before they are added

private:
    void deleteAll();
};
