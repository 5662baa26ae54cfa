#pragma once

#include "ShowFacts.h"

// The one format everything is mixed in and handed to the output device:
// interleaved 32-bit float stereo at MIX_RATE (44.1 kHz), left sample first.
constexpr int MIX_CHANNELS = 2;
constexpr int MIX_FRAME_BYTES = MIX_CHANNELS * static_cast<int>(sizeof(float));

// Headroom: the music plus several cues at once must not clip, so the sum of
// all channels is scaled by this before it is clamped to [-1, 1].
constexpr float MASTER_GAIN = 0.5f;
