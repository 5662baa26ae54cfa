#pragma once

#include <cstdint>
#include <vector>

// A recording ends with its picture fading to black and its sound to silence
// over the last ENDING_FADE_SECONDS, instead of stopping dead in the middle of
// the music. Only recordings end this way: the demo itself plays on until it
// is closed.
constexpr double ENDING_FADE_SECONDS = 1.5;

// Gain of what is heard or seen `secondsBeforeEnd` before the recording's
// last frame or sample: 1 until the fade begins, then an S-shaped fall to
// exactly 0 at the end.
double endingFadeGain(double secondsBeforeEnd);

// An RGBA picture with its colour scaled by `gain`; alpha is kept.
std::vector<std::uint8_t> fadedPicture(std::vector<std::uint8_t> rgba, double gain);

// Fades the end of an interleaved stereo sound track at `rate` frames a second.
void fadeSoundTrackEnd(std::vector<float>& stereo, int rate);
