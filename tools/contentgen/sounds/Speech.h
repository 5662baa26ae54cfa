#pragma once

#include <string>
#include <vector>

// How espeak-ng says a line: its voice, pitch (0-99) and speed (words a minute).
struct SpeechVoice {
    std::string voice = "en+m3";
    int pitch = 50;
    int wordsPerMinute = 150;
};

// Raw speech from espeak-ng: mono samples in [-1, 1] at `sampleRate`.
struct SpeechSamples {
    std::vector<float> samples;
    int sampleRate = 0;
};

// Runs espeak-ng into a temporary WAV file and reads it back. False, after one
// line on standard error, when espeak-ng cannot be run or writes no sound.
// espeak-ng is deterministic: the same text and voice give the same samples.
bool speak(const std::string& text, const SpeechVoice& voice, SpeechSamples& speech);
