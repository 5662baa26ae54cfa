#include "sounds/CartoonVoice.h"

#include <cmath>

#include "sounds/Synth.h"

namespace {

constexpr double SILENCE_LEVEL = 0.003;  // about -50 dBFS: quieter than this counts as silence
constexpr double LEAD_IN_SECONDS = 0.005;
constexpr double FADE_OUT_SECONDS = 0.03;

// The wobble waits this long after a word starts, then grows in over as long
// again: a consonant whose pitch slides is heard as a different consonant.
constexpr double STEADY_ONSET_SECONDS = 0.12;
// A word starts where the speech's level, smoothed over about 25 ms, rises
// above this share of the line's peak.
constexpr double WORD_GAP_LEVEL = 0.01;
constexpr double LEVEL_SMOOTHING_HERTZ = 40.0;

// The drive's reference level: compressed speech at this level meets the
// style's full drive gain. The compressor leaves the loudest vowels at about
// half of it, so the tanh rounds them off without flattening them.
constexpr double DRIVE_REFERENCE_LEVEL = 0.3;

// The consonants' band (their bursts and hiss sit at 2 to 5 kHz) is lifted so
// they cut through the music's stabs and hats.
constexpr double PRESENCE_HERTZ = 3200.0;
constexpr double PRESENCE_GAIN = 0.6;  // share of the band-passed signal added back

// Catmull-Rom interpolation between samples[index] and samples[index + 1].
double interpolate(const std::vector<float>& samples, double position) {
    const long index = static_cast<long>(std::floor(position));
    const double fraction = position - index;
    auto at = [&](long i) {
        return (i >= 0 && i < static_cast<long>(samples.size())) ? static_cast<double>(samples[static_cast<size_t>(i)])
                                                                 : 0.0;
    };
    const double p0 = at(index - 1);
    const double p1 = at(index);
    const double p2 = at(index + 1);
    const double p3 = at(index + 2);
    return p1 +
           0.5 * fraction *
               (p2 - p0 + fraction * (2.0 * p0 - 5.0 * p1 + 4.0 * p2 - p3 + fraction * (3.0 * (p1 - p2) + p3 - p0)));
}

std::vector<float> resampleWithPitch(const SpeechSamples& speech, const CartoonVoiceStyle& style) {
    std::vector<float> out;
    const double baseStep = static_cast<double>(speech.sampleRate) / synth::SAMPLE_RATE * style.pitchFactor;
    const double speechPeak = synth::peakOf(speech.samples);
    synth::OnePole loudness;
    double voicedSeconds = 0.0;  // since the speech last came out of silence
    double wobblePhase = 0.0;
    double position = 0.0;
    // Reading the speech faster than its own rate raises pitch and formants
    // together and shortens the line. espeak-ng's 22.05 kHz is read at well
    // under one source sample per output sample, so nothing aliases.
    while (position < speech.samples.size()) {
        const double sample = interpolate(speech.samples, position);
        out.push_back(static_cast<float>(sample));
        const bool silent = loudness.lowPass(std::fabs(sample), LEVEL_SMOOTHING_HERTZ) < WORD_GAP_LEVEL * speechPeak;
        voicedSeconds = silent ? 0.0 : voicedSeconds + 1.0 / synth::SAMPLE_RATE;
        const double wobbleShare = clamp01((voicedSeconds - STEADY_ONSET_SECONDS) / STEADY_ONSET_SECONDS);
        wobblePhase += style.wobbleRate / synth::SAMPLE_RATE;
        position += baseStep * (1.0 + style.wobbleDepth * wobbleShare * std::sin(TWO_PI * wobblePhase));
    }
    return out;
}

// Rumble out, consonants lifted, the level ridden by a compressor so every
// syllable comes out about as loud as the vowels, and a little grit on top.
void shape(std::vector<float>& samples, double drive) {
    synth::normalisePeak(samples, 1.0);
    synth::OnePole rumble;
    synth::StateVariableFilter presence;
    for (float& sample : samples) {
        const double clean = rumble.highPass(sample, 90.0);
        sample = static_cast<float>(clean + PRESENCE_GAIN * presence.process(clean, PRESENCE_HERTZ, 0.8).band);
    }
    synth::normalisePeak(samples, 1.0);
    synth::Compressor compressor(0.1, 6.0, 0.06);
    const double level = std::tanh(drive);
    for (float& sample : samples) {
        sample = static_cast<float>(std::tanh(drive * compressor.process(sample) / DRIVE_REFERENCE_LEVEL) / level);
    }
}

// Appends the room's tail (up to half a second) and mixes it in.
void addRoom(std::vector<float>& samples, double mix) {
    samples.resize(samples.size() + synth::SAMPLE_RATE / 2, 0.0f);
    synth::Room room(0.45, 0.7, 0.35);
    for (float& sample : samples) {
        sample = static_cast<float>(sample * (1.0 - mix) + room.process(sample) * mix * 2.0);
    }
}

void trimSilence(std::vector<float>& samples) {
    size_t first = 0;
    while (first < samples.size() && std::fabs(samples[first]) < SILENCE_LEVEL) {
        ++first;
    }
    size_t last = samples.size();
    while (last > first && std::fabs(samples[last - 1]) < SILENCE_LEVEL) {
        --last;
    }
    const size_t leadIn = static_cast<size_t>(LEAD_IN_SECONDS * synth::SAMPLE_RATE);
    first = first > leadIn ? first - leadIn : 0;
    samples = std::vector<float>(samples.begin() + static_cast<long>(first), samples.begin() + static_cast<long>(last));
}

void fadeOut(std::vector<float>& samples) {
    const size_t fade = std::min(samples.size(), static_cast<size_t>(FADE_OUT_SECONDS * synth::SAMPLE_RATE));
    for (size_t i = 0; i < fade; ++i) {
        samples[samples.size() - 1 - i] *= static_cast<float>(static_cast<double>(i) / fade);
    }
}

}  // namespace

std::vector<float> makeCartoonVoice(const SpeechSamples& speech, const CartoonVoiceStyle& style) {
    std::vector<float> samples = resampleWithPitch(speech, style);
    shape(samples, style.drive);
    addRoom(samples, style.roomMix);
    trimSilence(samples);
    fadeOut(samples);
    synth::finishOutput(samples, 1, synth::CUE_PEAK_LEVEL);
    return samples;
}
