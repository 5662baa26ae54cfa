#pragma once

#include <vector>

#include "Speech.h"

// How raw speech becomes a cartoon character's line.
struct CartoonVoiceStyle {
    double pitchFactor = 1.3;   // resampling ratio: raises pitch and formants, and quickens the line
    double wobbleDepth = 0.02;  // slow pitch wobble, as a fraction of the pitch
    double wobbleRate = 5.5;    // wobbles per second
    double drive = 2.2;         // tanh overdrive gain on the levelled speech: grit and loudness
    double roomMix = 0.15;      // share of the small room's reverberation
};

// Resampled to the generator's rate with the style's pitch and wobble,
// driven, given a little room, trimmed of silence, faded at the end and
// levelled to -1 dBFS peak. Mono.
std::vector<float> makeCartoonVoice(const SpeechSamples& speech, const CartoonVoiceStyle& style);
