#include "sounds/Synth.h"

#include <algorithm>

namespace synth {

namespace {

// Freeverb's tunings at 44.1 kHz, mutually prime so the echoes do not pile up.
constexpr int COMB_DELAYS[] = {1116, 1188, 1277, 1356};
constexpr int ALL_PASS_DELAYS[] = {556, 441};
constexpr double ALL_PASS_FEEDBACK = 0.5;

}  // namespace

Room::Room(double size, double feedbackAmount, double dampingAmount, int spread)
    : feedback(feedbackAmount), damping(dampingAmount) {
    for (int delay : COMB_DELAYS) {
        Delay comb;
        comb.line.assign(static_cast<size_t>(std::max(1.0, delay * size)) + spread, 0.0);
        combs.push_back(comb);
    }
    for (int delay : ALL_PASS_DELAYS) {
        Delay allPass;
        allPass.line.assign(static_cast<size_t>(std::max(1.0, delay * size)) + spread, 0.0);
        allPasses.push_back(allPass);
    }
}

double Room::process(double input) {
    double wet = 0.0;
    for (Delay& comb : combs) {
        const double delayed = comb.line[comb.position];
        comb.filterState = delayed * (1.0 - damping) + comb.filterState * damping;
        comb.line[comb.position] = input + comb.filterState * feedback;
        comb.position = (comb.position + 1) % comb.line.size();
        wet += delayed;
    }
    wet *= 0.25;
    for (Delay& allPass : allPasses) {
        const double delayed = allPass.line[allPass.position];
        allPass.line[allPass.position] = wet + delayed * ALL_PASS_FEEDBACK;
        allPass.position = (allPass.position + 1) % allPass.line.size();
        wet = delayed - wet;
    }
    return wet;
}

double envelope(double time, double heldSeconds, double attack, double decay, double sustain, double release) {
    if (time < 0.0) {
        return 0.0;
    }
    auto heldLevel = [&](double t) {
        if (t < attack) {
            return t / attack;
        }
        if (t < attack + decay) {
            return 1.0 + (sustain - 1.0) * (t - attack) / decay;
        }
        return sustain;
    };
    if (time < heldSeconds) {
        return heldLevel(time);
    }
    const double releaseTime = time - heldSeconds;
    if (releaseTime >= release) {
        return 0.0;
    }
    return heldLevel(heldSeconds) * (1.0 - releaseTime / release);
}

double peakOf(const std::vector<float>& samples) {
    double peak = 0.0;
    for (float sample : samples) {
        peak = std::max(peak, static_cast<double>(std::fabs(sample)));
    }
    return peak;
}

void normalisePeak(std::vector<float>& samples, double peak) {
    const double current = peakOf(samples);
    if (current <= 0.0) {
        return;
    }
    const double gain = peak / current;
    for (float& sample : samples) {
        sample = static_cast<float>(sample * gain);
    }
}

void finishOutput(std::vector<float>& interleaved, int channels, double peak) {
    for (int channel = 0; channel < channels; ++channel) {
        DcBlocker blocker;
        for (size_t i = static_cast<size_t>(channel); i < interleaved.size(); i += static_cast<size_t>(channels)) {
            interleaved[i] = static_cast<float>(blocker.process(interleaved[i]));
        }
    }
    normalisePeak(interleaved, peak);
}

double rmsDecibels(const std::vector<float>& samples) {
    if (samples.empty()) {
        return -200.0;
    }
    double sum = 0.0;
    for (float sample : samples) {
        sum += static_cast<double>(sample) * sample;
    }
    return 10.0 * std::log10(std::max(sum / samples.size(), 1e-20));
}

}  // namespace synth
