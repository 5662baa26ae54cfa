#include <cmath>

#include "Generators.h"
#include "ShowFacts.h"
#include "formats/WavWriter.h"
#include "sounds/CartoonVoice.h"
#include "sounds/Speech.h"
#include "sounds/Synth.h"

namespace {

using synth::SAMPLE_RATE;

std::vector<float> silence(double seconds) {
    return std::vector<float>(static_cast<size_t>(seconds * SAMPLE_RATE), 0.0f);
}

// A short, bright slap of room on an effect, compressed so that it is dense
// enough to stand over the music, then the level every cue shares.
void finishEffect(std::vector<float>& samples, double roomMix) {
    synth::Room room(0.3, 0.6, 0.4);
    for (float& sample : samples) {
        sample = static_cast<float>(sample + room.process(sample) * roomMix);
    }
    synth::normalisePeak(samples, 1.0);
    synth::Compressor compressor(0.1, 6.0, 0.08);
    for (float& sample : samples) {
        sample = static_cast<float>(compressor.process(sample));
    }
    const size_t fade = static_cast<size_t>(0.06 * SAMPLE_RATE);
    for (size_t i = 0; i < fade && i < samples.size(); ++i) {
        samples[samples.size() - 1 - i] *= static_cast<float>(static_cast<double>(i) / fade);
    }
    synth::finishOutput(samples, 1, synth::CUE_PEAK_LEVEL);
}

// A cartoon "bwoing": a filtered square whose pitch leaps up two octaves and
// then wobbles like a spring as it dies away.
std::vector<float> makeJump() {
    std::vector<float> samples = silence(0.45);
    synth::Oscillator body;
    synth::Oscillator sub;
    synth::StateVariableFilter tone;
    for (size_t i = 0; i < samples.size(); ++i) {
        const double t = static_cast<double>(i) / SAMPLE_RATE;
        const double rise = std::min(t / 0.16, 1.0);
        double frequency = 170.0 * std::pow(4.5, rise * (2.0 - rise));
        frequency *= 1.0 + 0.06 * std::sin(TWO_PI * 16.0 * t) * clamp01((t - 0.12) * 8.0);
        const double level = std::min(t / 0.004, 1.0) * std::exp(-std::max(0.0, t - 0.1) * 9.0);
        const double raw =
            0.6 * body.next(frequency, synth::Wave::Square, 0.35) + 0.5 * sub.next(frequency * 0.5, synth::Wave::Sine);
        samples[i] = static_cast<float>(tone.process(raw, 900.0 + 2.5 * frequency, 1.4).low * level);
    }
    finishEffect(samples, 0.15);
    return samples;
}

// "Ptoo!": a lip plosive, a wet tongue-shaped hiss that falls in pitch, and a
// spray of droplet pops.
std::vector<float> makeSpit() {
    std::vector<float> samples = silence(0.6);
    synth::WhiteNoise hiss(701);
    synth::WhiteNoise drops(702);
    synth::StateVariableFilter plosive;
    synth::StateVariableFilter mouth;
    synth::StateVariableFilter spray;
    synth::Oscillator lips;
    for (size_t i = 0; i < samples.size(); ++i) {
        const double t = static_cast<double>(i) / SAMPLE_RATE;
        const double noise = hiss.next();
        // The "p": a thump of low noise in the first 25 ms.
        const double pop = plosive.process(noise, 700.0, 0.8).low * std::exp(-t * 140.0) * 1.2;
        // The "too": band-passed breath sweeping down, with a buzz of the lips.
        const double tooTime = t - 0.02;
        const double tooLevel = tooTime < 0.0 ? 0.0 : std::min(tooTime / 0.01, 1.0) * std::exp(-tooTime * 6.0);
        const double formant = 2200.0 * std::exp(-tooTime * 3.0);
        const double breath = mouth.process(noise, formant, 3.0).band * 1.6;
        const double buzz =
            lips.next(330.0 - 200.0 * std::min(std::max(tooTime, 0.0) / 0.2, 1.0), synth::Wave::Triangle);
        const double too = (breath + 0.35 * buzz) * tooLevel;
        // The spray: bright hiss with random droplet clicks.
        const double sprayTime = t - 0.12;
        double wet = 0.0;
        if (sprayTime > 0.0) {
            const double click = drops.next() > 0.985 ? drops.next() * 3.0 : 0.0;
            wet = spray.process(noise * 0.5 + click, 5200.0, 1.2).band * std::exp(-sprayTime * 7.0) *
                  std::min(sprayTime / 0.01, 1.0);
        }
        samples[i] = static_cast<float>(pop + too + wet);
    }
    finishEffect(samples, 0.12);
    return samples;
}

struct VoiceLine {
    const char* path;  // in the run folder
    const char* text;
    SpeechVoice voice;
    CartoonVoiceStyle style;
};

bool writeVoiceLine(const std::string& outputRoot, const VoiceLine& line) {
    SpeechSamples speech;
    if (!speak(line.text, line.voice, speech)) {
        return false;
    }
    return writeWav(outputRoot + "/" + line.path, makeCartoonVoice(speech, line.style), 1, SAMPLE_RATE);
}

}  // namespace

bool generateSounds(const std::string& outputRoot) {
    bool ok = writeWav(outputRoot + "/" + JUMP_SOUND_PATH, makeJump(), 1, SAMPLE_RATE);
    ok = writeWav(outputRoot + "/" + SPIT_SOUND_PATH, makeSpit(), 1, SAMPLE_RATE) && ok;

    // One character's voice, pitched up after speaking for the cartoon timbre.
    // espeak-ng speaks slower than usual so the lines stay clear once quickened,
    // but for the taunt, which must be over within a second, before the spit.
    // Raising the formants by more than a fifth, or a pitch that slides at a
    // word's start, costs the consonants; so does driving a line much harder.
    const CartoonVoiceStyle taunt{1.2, 0.012, 5.5, 1.8, 0.1};
    const CartoonVoiceStyle yell{1.2, 0.015, 7.0, 2.0, 0.12};
    const VoiceLine lines[] = {
        {COWARDS_SOUND_PATH, "You cheeky cowards!", {"en+m3", 90, 185}, taunt},
        {ILL_GET_YOU_SOUND_PATH, "I'll get you!", {"en+m3", 85, 110}, taunt},
        {WARCRY_SOUND_PATH, "Yaaah, charge!", {"en+m3", 95, 120}, yell},
    };
    for (const VoiceLine& line : lines) {
        ok = writeVoiceLine(outputRoot, line) && ok;
    }
    return ok;
}
