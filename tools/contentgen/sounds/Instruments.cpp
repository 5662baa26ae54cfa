#include "sounds/Instruments.h"

#include <cmath>

#include "sounds/Synth.h"

namespace {

using synth::Oscillator;
using synth::StateVariableFilter;
using synth::Wave;

// How long each note sounds after its hold ends (drums: their whole length).
double tailSeconds(Instrument instrument) {
    switch (instrument) {
        case Instrument::Kick:
            return 0.35;
        case Instrument::Snare:
            return 0.25;
        case Instrument::ClosedHat:
            return 0.06;
        case Instrument::OpenHat:
            return 0.3;
        case Instrument::Crash:
            return 1.8;
        case Instrument::Bass:
            return 0.06;
        case Instrument::Stab:
            return 0.1;
        case Instrument::Pad:
            return 0.35;
        case Instrument::Lead:
            return 0.12;
        case Instrument::Arpeggio:
            return 0.15;
        case Instrument::COUNT:
            break;
    }
    return 0.0;
}

bool isDrum(Instrument instrument) {
    return instrument == Instrument::Kick || instrument == Instrument::Snare || instrument == Instrument::ClosedHat ||
           instrument == Instrument::OpenHat || instrument == Instrument::Crash;
}

// Every drum hit gets its own noise, seeded by where it starts, so repeated
// hits are alike but not identical, and every run gives the same noise.
std::uint64_t noiseSeed(size_t startSample, Instrument instrument) {
    return startSample * 31u + static_cast<std::uint64_t>(instrument) * 1000003u + 17u;
}

// The voice of one note: returns the sample `t` seconds after its start.
class Voice {
public:
    Voice(const NoteEvent& note, std::uint64_t seed)
        : note(note), noise(seed), frequency(synth::midiToFrequency(note.pitch)) {}

    double next(double t) {
        switch (note.instrument) {
            case Instrument::Kick:
                return kick(t);
            case Instrument::Snare:
                return snare(t);
            case Instrument::ClosedHat:
                return hat(t, 45.0);
            case Instrument::OpenHat:
                return hat(t, 11.0);
            case Instrument::Crash:
                return crash(t);
            case Instrument::Bass:
                return bass(t);
            case Instrument::Stab:
                return stab(t);
            case Instrument::Pad:
                return pad(t);
            case Instrument::Lead:
                return lead(t);
            case Instrument::Arpeggio:
                return arpeggio(t);
            case Instrument::COUNT:
                break;
        }
        return 0.0;
    }

private:
    // A sine whose pitch drops fast from a knock to a boom.
    double kick(double t) {
        const double pitch = 45.0 + 120.0 * std::exp(-t * 28.0);
        const double body = first.next(pitch, Wave::Sine) * std::exp(-t * 8.0);
        const double click = filter.process(noise.next(), 3000.0, 0.7).low * std::exp(-t * 300.0);
        return 1.1 * body + 0.4 * click;
    }

    // A short tone for the drum's shell under a band of rattling noise.
    double snare(double t) {
        const double shell = first.next(190.0 - 30.0 * std::min(t * 20.0, 1.0), Wave::Sine) * std::exp(-t * 28.0);
        const StateVariableFilter::Outputs wires = filter.process(noise.next(), 3200.0, 0.6);
        return 0.5 * shell + (0.9 * wires.band + 0.35 * wires.high) * std::exp(-t * 17.0);
    }

    double hat(double t, double decayRate) {
        return 0.9 * filter.process(noise.next(), 7500.0, 0.9).high * std::exp(-t * decayRate);
    }

    double crash(double t) {
        const StateVariableFilter::Outputs shimmer = filter.process(noise.next(), 5500.0, 0.5);
        return 0.45 * (shimmer.high + 0.5 * shimmer.band) * std::exp(-t * 2.4) * std::min(t / 0.002, 1.0);
    }

    // Saw and a square an octave below through a plucky low pass.
    double bass(double t) {
        const double raw = 0.7 * first.next(frequency, Wave::Saw) + 0.5 * second.next(frequency * 0.5, Wave::Square);
        const double cutoff = 260.0 + 1700.0 * std::exp(-t * 14.0) * note.velocity;
        const double level = synth::envelope(t, note.lengthSeconds * 0.85, 0.003, 0.12, 0.65, 0.05);
        return std::tanh(1.5 * filter.process(raw, cutoff, 1.3).low) * level;
    }

    // Two detuned saws: the chord stab on the off-beat.
    double stab(double t) {
        const double raw = first.next(frequency * 1.004, Wave::Saw) + second.next(frequency * 0.996, Wave::Saw);
        const double cutoff = 900.0 + 3200.0 * std::exp(-t * 11.0);
        const double level = synth::envelope(t, note.lengthSeconds * 0.8, 0.004, 0.12, 0.45, 0.08);
        return 0.4 * filter.process(raw, cutoff, 0.9).low * level;
    }

    // The same saws held softly.
    double pad(double t) {
        const double raw = first.next(frequency * 1.005, Wave::Saw) + second.next(frequency * 0.995, Wave::Saw) +
                           0.5 * third.next(frequency * 2.0, Wave::Triangle);
        const double cutoff = 1400.0 + 400.0 * std::sin(TWO_PI * 0.5 * t);
        const double level = synth::envelope(t, note.lengthSeconds, 0.08, 0.3, 0.75, 0.3);
        return 0.3 * filter.process(raw, cutoff, 0.8).low * level;
    }

    // A hollow square with a little saw, and vibrato that sets in once the
    // note has spoken.
    double lead(double t) {
        const double vibrato = 1.0 + 0.012 * std::sin(TWO_PI * 5.8 * t) * clamp01((t - 0.15) * 5.0);
        const double pitch = frequency * vibrato;
        const double raw = first.next(pitch, Wave::Square, 0.3) + 0.35 * second.next(pitch * 1.003, Wave::Saw);
        const double level = synth::envelope(t, note.lengthSeconds * 0.92, 0.006, 0.2, 0.75, 0.08);
        return 0.6 * filter.process(raw, 4200.0, 1.0).low * level;
    }

    // A quick pluck for the running sixteenths.
    double arpeggio(double t) {
        const double raw = first.next(frequency, Wave::Square, 0.5);
        const double cutoff = 700.0 + 5000.0 * std::exp(-t * 30.0);
        return 0.5 * filter.process(raw, cutoff, 1.1).low * std::exp(-t * 16.0) * std::min(t / 0.002, 1.0);
    }

    NoteEvent note;
    synth::WhiteNoise noise;
    double frequency;
    Oscillator first;
    Oscillator second;
    Oscillator third;
    StateVariableFilter filter;
};

}  // namespace

void renderNote(const NoteEvent& note, std::vector<float>& track) {
    const size_t start = static_cast<size_t>(std::llround(note.startSeconds * synth::SAMPLE_RATE));
    const double soundingSeconds =
        isDrum(note.instrument) ? tailSeconds(note.instrument) : note.lengthSeconds + tailSeconds(note.instrument);
    const size_t length = static_cast<size_t>(soundingSeconds * synth::SAMPLE_RATE);
    if (track.size() < start + length) {
        track.resize(start + length, 0.0f);
    }
    Voice voice(note, noiseSeed(start, note.instrument));
    for (size_t i = 0; i < length; ++i) {
        const double t = static_cast<double>(i) / synth::SAMPLE_RATE;
        track[start + i] += static_cast<float>(voice.next(t) * note.velocity);
    }
}
