#include <cmath>
#include <vector>

#include "Generators.h"
#include "ShowFacts.h"
#include "formats/SoundFile.h"
#include "sounds/Instruments.h"
#include "sounds/Score.h"
#include "sounds/Synth.h"

namespace {

using synth::SAMPLE_RATE;

// How each instrument sits in the stereo mix.
struct TrackMix {
    double gain;
    double pan;       // -1 left .. 1 right
    double roomSend;  // share sent to the reverberation
    double echoSend;  // share sent to the ping-pong echo
};

TrackMix mixOf(Instrument instrument) {
    switch (instrument) {
        case Instrument::Kick:
            return {0.8, 0.0, 0.0, 0.0};
        case Instrument::Snare:
            return {0.55, 0.05, 0.18, 0.0};
        case Instrument::ClosedHat:
            return {0.5, 0.35, 0.0, 0.0};
        case Instrument::OpenHat:
            return {0.32, 0.35, 0.05, 0.0};
        case Instrument::Crash:
            return {0.30, -0.3, 0.1, 0.0};
        case Instrument::Bass:
            return {0.55, 0.0, 0.0, 0.0};
        case Instrument::Stab:
            return {0.40, -0.3, 0.2, 0.0};
        case Instrument::Pad:
            return {0.32, 0.2, 0.35, 0.0};
        case Instrument::Lead:
            return {0.50, 0.05, 0.15, 0.22};
        case Instrument::Arpeggio:
            return {0.22, -0.45, 0.12, 0.1};
        case Instrument::COUNT:
            break;
    }
    return {0.0, 0.0, 0.0, 0.0};
}

constexpr double ECHO_SECONDS = 0.3;  // a dotted eighth at the opening tempo
constexpr double ECHO_FEEDBACK = 0.32;
constexpr double TAIL_SECONDS = 2.5;  // after the last bar, for the final chord and cymbal to ring out

struct StereoMix {
    std::vector<float> left;
    std::vector<float> right;
    std::vector<float> roomInput;
    std::vector<float> echoInput;

    explicit StereoMix(size_t frames)
        : left(frames, 0.0f), right(frames, 0.0f), roomInput(frames, 0.0f), echoInput(frames, 0.0f) {}
};

void mixTrack(StereoMix& mix, const std::vector<float>& track, const TrackMix& setting) {
    // Constant-power panning.
    const double angle = (setting.pan + 1.0) * 0.25 * PI;
    const double leftGain = std::cos(angle) * setting.gain * std::sqrt(2.0);
    const double rightGain = std::sin(angle) * setting.gain * std::sqrt(2.0);
    const size_t frames = std::min(track.size(), mix.left.size());
    for (size_t i = 0; i < frames; ++i) {
        mix.left[i] += static_cast<float>(track[i] * leftGain);
        mix.right[i] += static_cast<float>(track[i] * rightGain);
        mix.roomInput[i] += static_cast<float>(track[i] * setting.gain * setting.roomSend);
        mix.echoInput[i] += static_cast<float>(track[i] * setting.gain * setting.echoSend);
    }
}

// Echoes bounce between the sides; the reverberation is two rooms with
// slightly different sizes, one per side.
void addEffects(StereoMix& mix) {
    const size_t echoDelay = static_cast<size_t>(ECHO_SECONDS * SAMPLE_RATE);
    std::vector<float> echoLeft(mix.left.size(), 0.0f);
    std::vector<float> echoRight(mix.left.size(), 0.0f);
    for (size_t i = echoDelay; i < mix.left.size(); ++i) {
        echoLeft[i] = static_cast<float>(mix.echoInput[i - echoDelay] + echoRight[i - echoDelay] * ECHO_FEEDBACK);
        echoRight[i] = static_cast<float>(echoLeft[i - echoDelay] * ECHO_FEEDBACK);
    }
    synth::Room roomLeft(1.0, 0.78, 0.3, 0);
    synth::Room roomRight(1.0, 0.78, 0.3, 23);
    for (size_t i = 0; i < mix.left.size(); ++i) {
        mix.left[i] += static_cast<float>(echoLeft[i] + 0.6 * roomLeft.process(mix.roomInput[i]));
        mix.right[i] += static_cast<float>(echoRight[i] + 0.6 * roomRight.process(mix.roomInput[i]));
    }
}

// Levels the mix, rounds off the few loudest drum peaks, and interleaves.
std::vector<float> master(const StereoMix& mix, double peak) {
    std::vector<float> interleaved(mix.left.size() * 2);
    for (size_t i = 0; i < mix.left.size(); ++i) {
        interleaved[2 * i] = mix.left[i];
        interleaved[2 * i + 1] = mix.right[i];
    }
    synth::normalisePeak(interleaved, 1.0);
    const double drive = 1.0;
    for (float& sample : interleaved) {
        sample = static_cast<float>(std::tanh(drive * sample) / std::tanh(drive));
    }
    synth::finishOutput(interleaved, 2, peak);
    return interleaved;
}

}  // namespace

bool generateMusic(const std::string& outputRoot) {
    const Score score = composeChase();
    const size_t frames = static_cast<size_t>((score.tempo.endSeconds() + TAIL_SECONDS) * SAMPLE_RATE);
    StereoMix mix(frames);
    for (int instrument = 0; instrument < static_cast<int>(Instrument::COUNT); ++instrument) {
        std::vector<float> track(frames, 0.0f);
        for (const NoteEvent& note : score.events) {
            if (static_cast<int>(note.instrument) == instrument) {
                renderNote(note, track);
            }
        }
        mixTrack(mix, track, mixOf(static_cast<Instrument>(instrument)));
    }
    addEffects(mix);
    // The encoder's low pass takes a little off the sharpest peaks, so the
    // decoded peak lands a few tenths of a decibel under this.
    const std::vector<float> samples = master(mix, synth::MUSIC_PEAK_LEVEL);
    return writeSoundFile(outputRoot + "/" + musicPath(SHOW_MUSIC_TRACK), samples, 2, SAMPLE_RATE, SoundEncoding::Mp3);
}
