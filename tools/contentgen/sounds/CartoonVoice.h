#pragma once

#include <vector>

#include "sounds/Speech.h"

// How raw speech becomes a cartoon character's line.
struct CartoonVoiceStyle {
    double pitchFactor = 1.2;    // resampling ratio: raises pitch and formants, and quickens the line
    double wobbleDepth = 0.012;  // slow pitch wobble, as a fraction of the pitch, once a word has started
    double wobbleRate = 5.5;     // wobbles per second
    double drive = 1.8;          // tanh overdrive gain on the compressed speech: grit and loudness
    double roomMix = 0.1;        // share of the small room's reverberation
};

// Resampled to the generator's rate with the style's pitch and wobble, the
// consonants' band lifted, compressed and driven, given a little room, trimmed
// of silence, faded at the end and levelled to the cues' peak through the
// output stage. Mono.
std::vector<float> makeCartoonVoice(const SpeechSamples& speech, const CartoonVoiceStyle& style);
