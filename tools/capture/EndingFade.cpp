#include "EndingFade.h"

#include <cmath>

double endingFadeGain(double secondsBeforeEnd) {
    if (secondsBeforeEnd >= ENDING_FADE_SECONDS) {
        return 1.0;
    }
    if (secondsBeforeEnd <= 0.0) {
        return 0.0;
    }
    const double pi = 3.14159265358979323846;
    return 0.5 - 0.5 * std::cos(pi * secondsBeforeEnd / ENDING_FADE_SECONDS);
}

std::vector<std::uint8_t> fadedPicture(std::vector<std::uint8_t> rgba, double gain) {
    if (gain >= 1.0) {
        return rgba;
    }
    for (size_t i = 0; i + 3 < rgba.size(); i += 4) {
        for (size_t c = 0; c < 3; ++c) {
            rgba[i + c] = static_cast<std::uint8_t>(std::lround(rgba[i + c] * gain));
        }
    }
    return rgba;
}

void fadeSoundTrackEnd(std::vector<float>& stereo, int rate) {
    const size_t frames = stereo.size() / 2;
    for (size_t frame = 0; frame < frames; ++frame) {
        const double gain = endingFadeGain(static_cast<double>(frames - 1 - frame) / rate);
        stereo[2 * frame] = static_cast<float>(stereo[2 * frame] * gain);
        stereo[2 * frame + 1] = static_cast<float>(stereo[2 * frame + 1] * gain);
    }
}
