#pragma once

#include <algorithm>
#include <cmath>
#include <vector>

#include "ShowFacts.h"
#include "kit/Maths.h"
#include "kit/Random.h"

// Building blocks of the generator's sounds: oscillators, filters, a small
// room and the level tools. Everything runs at one rate, in doubles, from
// fixed seeds, so a sound is the same bytes on every run.
namespace synth {

constexpr int SAMPLE_RATE = MIX_RATE;

// Levels of the show's mix. The audio layer adds the music and the cues and
// halves the sum, so a cue at -1 dBFS over the music at -8 dBFS still peaks
// near -3.7 dBFS in the mix. The music keeps 7 dB of headroom so that the
// shouted lines, levelled dense and loud, stand some 10 dB over it.
constexpr double CUE_PEAK_LEVEL = 0.8912509381337456;     // -1 dBFS
constexpr double MUSIC_PEAK_LEVEL = 0.39810717055349726;  // -8 dBFS

inline double midiToFrequency(double note) {
    return 440.0 * std::pow(2.0, (note - 69.0) / 12.0);
}

// Band-limited step correction (polyBLEP) for a discontinuity at phase 0;
// `phase` and `increment` in cycles.
inline double polyBlep(double phase, double increment) {
    if (phase < increment) {
        const double t = phase / increment;
        return t + t - t * t - 1.0;
    }
    if (phase > 1.0 - increment) {
        const double t = (phase - 1.0) / increment;
        return t * t + t + t + 1.0;
    }
    return 0.0;
}

enum class Wave { Sine, Triangle, Saw, Square };

// One oscillator with its own phase; `next` advances it by one sample.
class Oscillator {
public:
    explicit Oscillator(double startPhase = 0.0) : phase(startPhase) {}

    double next(double frequency, Wave wave, double pulseWidth = 0.5) {
        const double increment = std::min(frequency / SAMPLE_RATE, 0.49);
        double value = 0.0;
        switch (wave) {
            case Wave::Sine:
                value = std::sin(TWO_PI * phase);
                break;
            case Wave::Triangle:
                value = 1.0 - 4.0 * std::fabs(phase - 0.5);
                break;
            case Wave::Saw:
                value = 2.0 * phase - 1.0 - polyBlep(phase, increment);
                break;
            case Wave::Square: {
                double shifted = phase + 1.0 - pulseWidth;
                shifted -= std::floor(shifted);
                value = (phase < pulseWidth ? 1.0 : -1.0) + polyBlep(phase, increment) - polyBlep(shifted, increment);
                break;
            }
        }
        phase += increment;
        phase -= std::floor(phase);
        return value;
    }

private:
    double phase;
};

// Topology-preserving state variable filter: low, band and high pass from
// one update, stable for any cutoff below Nyquist.
class StateVariableFilter {
public:
    struct Outputs {
        double low;
        double band;
        double high;
    };

    Outputs process(double input, double cutoff, double resonance) {
        const double g = std::tan(PI * std::min(cutoff, SAMPLE_RATE * 0.45) / SAMPLE_RATE);
        const double k = 1.0 / std::max(resonance, 0.05);
        const double a1 = 1.0 / (1.0 + g * (g + k));
        const double v3 = input - state2;
        const double v1 = a1 * state1 + g * a1 * v3;
        const double v2 = state2 + g * v1;
        state1 = 2.0 * v1 - state1;
        state2 = 2.0 * v2 - state2;
        return {v2, v1, input - k * v1 - v2};
    }

private:
    double state1 = 0.0;
    double state2 = 0.0;
};

// One-pole low pass; the high pass is the input minus it.
class OnePole {
public:
    double lowPass(double input, double cutoff) {
        const double coefficient = 1.0 - std::exp(-TWO_PI * cutoff / SAMPLE_RATE);
        state += coefficient * (input - state);
        return state;
    }
    double highPass(double input, double cutoff) { return input - lowPass(input, cutoff); }

private:
    double state = 0.0;
};

// The DC-blocking high pass of every sound's output stage:
// y[n] = x[n] - x[n-1] + pole * y[n-1], a zero at 0 Hz and -3 dB near
// DC_BLOCK_HERTZ. Asymmetric waves (narrow pulses), driven speech and the
// room's tails all carry a slowly moving mean; this takes it out on the way
// and leaves the kick's 45 Hz boom standing.
constexpr double DC_BLOCK_HERTZ = 20.0;

class DcBlocker {
public:
    DcBlocker() : pole(std::exp(-TWO_PI * DC_BLOCK_HERTZ / SAMPLE_RATE)) {}
    double process(double input) {
        const double output = input - previousInput + pole * previousOutput;
        previousInput = input;
        previousOutput = output;
        return output;
    }

private:
    double pole;
    double previousInput = 0.0;
    double previousOutput = 0.0;
};

// Feed-forward compressor riding the signal's peak envelope, which follows a
// rise at once (so nothing overshoots) and falls over `releaseSeconds`. Above
// `threshold` (linear, on a signal levelled to 1) the output grows by only
// 1/ratio of the input's growth. Loud vowels and hits come down while
// consonants and tails stay, so once levelled again the sound is denser: a
// higher RMS at the same peak.
class Compressor {
public:
    Compressor(double threshold, double ratio, double releaseSeconds)
        : threshold(threshold), slope(1.0 / ratio - 1.0), release(std::exp(-1.0 / (releaseSeconds * SAMPLE_RATE))) {}

    double process(double input) {
        envelope = std::max(std::fabs(input), envelope * release);
        return envelope > threshold ? input * std::pow(envelope / threshold, slope) : input;
    }

private:
    double threshold;
    double slope;
    double release;
    double envelope = 0.0;
};

// White noise in [-1, 1) from the deterministic generator.
class WhiteNoise {
public:
    explicit WhiteNoise(std::uint64_t seed) : random(seed) {}
    double next() { return random.range(-1.0, 1.0); }

private:
    Random random;
};

// A small Schroeder room: parallel damped combs into series all-passes.
// `size` scales the delays (1 is a living room), `spread` offsets them so a
// second instance makes the other stereo side.
class Room {
public:
    Room(double size, double feedback, double damping, int spread = 0);
    double process(double input);  // the wet signal only

private:
    struct Delay {
        std::vector<double> line;
        size_t position = 0;
        double filterState = 0.0;
    };
    std::vector<Delay> combs;
    std::vector<Delay> allPasses;
    double feedback;
    double damping;
};

// Attack-decay-sustain-release level at `time` seconds into a note that is
// held for `heldSeconds`; times in seconds, sustain as a level.
double envelope(double time, double heldSeconds, double attack, double decay, double sustain, double release);

double peakOf(const std::vector<float>& samples);
// The output stage every generated sound ends in: the DC blocker over each
// channel of the interleaved samples, then levelled to `peak`.
void finishOutput(std::vector<float>& interleaved, int channels, double peak);
// Scales so the largest magnitude is `peak` (no change for silence).
void normalisePeak(std::vector<float>& samples, double peak);
// Root mean square level in dBFS.
double rmsDecibels(const std::vector<float>& samples);

}  // namespace synth
