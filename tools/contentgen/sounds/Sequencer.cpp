#include "sounds/Sequencer.h"

#include <sstream>

void TempoMap::addBar(double beatsPerMinute) {
    const double start = barStarts.empty() ? 0.0 : barStarts.back() + barLengths.back();
    barStarts.push_back(start);
    barLengths.push_back(4.0 * 60.0 / beatsPerMinute);
}

double TempoMap::endSeconds() const {
    return barStarts.empty() ? 0.0 : barStarts.back() + barLengths.back();
}

int noteNumber(const std::string& name) {
    static const int LETTER_SEMITONES[] = {9, 11, 0, 2, 4, 5, 7};  // A B C D E F G
    if (name.size() < 2 || name[0] < 'A' || name[0] > 'G') {
        return -1;
    }
    int semitone = LETTER_SEMITONES[name[0] - 'A'];
    size_t index = 1;
    if (name[index] == '#') {
        ++semitone;
        ++index;
    } else if (name[index] == 'b') {
        --semitone;
        ++index;
    }
    if (index + 1 != name.size() || name[index] < '0' || name[index] > '9') {
        return -1;
    }
    return 12 * (name[index] - '0' + 1) + semitone;
}

std::vector<std::string> splitTokens(const std::string& text) {
    std::vector<std::string> tokens;
    std::istringstream stream(text);
    std::string token;
    while (stream >> token) {
        tokens.push_back(token);
    }
    return tokens;
}

void addMelody(std::vector<NoteEvent>& events, Instrument instrument, const std::string& pattern, double barStart,
               double barLength, int transpose, double velocity) {
    const std::vector<std::string> tokens = splitTokens(pattern);
    if (tokens.empty()) {
        return;
    }
    const double slot = barLength / tokens.size();
    NoteEvent* open = nullptr;
    for (size_t i = 0; i < tokens.size(); ++i) {
        if (tokens[i] == "-") {
            if (open != nullptr) {
                open->lengthSeconds += slot;
            }
            continue;
        }
        open = nullptr;
        const int note = noteNumber(tokens[i]);
        if (note < 0) {
            continue;
        }
        events.push_back({instrument, barStart + i * slot, slot, static_cast<double>(note + transpose), velocity});
        open = &events.back();
    }
}

void addDrumLane(std::vector<NoteEvent>& events, Instrument instrument, const std::string& lane, double barStart,
                 double barLength, double velocity) {
    if (lane.empty()) {
        return;
    }
    const double slot = barLength / lane.size();
    for (size_t i = 0; i < lane.size(); ++i) {
        if (lane[i] == 'x' || lane[i] == 'X') {
            events.push_back({instrument, barStart + i * slot, slot, 0.0, velocity * (lane[i] == 'X' ? 1.0 : 0.7)});
        }
    }
}

std::vector<int> chordPitchClasses(const std::string& symbol) {
    const size_t rootLength = symbol.size() > 1 && (symbol[1] == '#' || symbol[1] == 'b') ? 2 : 1;
    const int root = noteNumber(symbol.substr(0, rootLength) + "4");
    if (root < 0) {
        return {};
    }
    const std::string quality = symbol.substr(rootLength);
    std::vector<int> intervals;
    if (quality.empty()) {
        intervals = {0, 4, 7};
    } else if (quality == "m") {
        intervals = {0, 3, 7};
    } else if (quality == "7") {
        intervals = {0, 4, 7, 10};
    } else if (quality == "m7") {
        intervals = {0, 3, 7, 10};
    } else {
        return {};
    }
    std::vector<int> classes;
    for (int interval : intervals) {
        classes.push_back((root + interval) % 12);
    }
    return classes;
}

std::vector<int> voiceInWindow(const std::vector<int>& pitchClasses, int low) {
    std::vector<int> notes;
    for (int pitchClass : pitchClasses) {
        int note = low + ((pitchClass - low) % 12 + 12) % 12;
        notes.push_back(note);
    }
    return notes;
}
