#include "sounds/Score.h"

#include <algorithm>
#include <string>

namespace {

// One bar of drums: four lanes of 16 sixteenth-note slots.
struct Groove {
    const char* kick;
    const char* snare;
    const char* closedHat;
    const char* openHat;
    double level;
};

const Groove INTRO = {"X.......X.......", "", "..x...x...x...x.", "", 0.9};
const Groove CHASE = {"X.....x.X.x.....", "....X.......X...", "x.x.x.x.x.x.x.x.", "", 1.0};
const Groove CHASE_FILL = {"X.....x.X.......", "....X.....x.XxXX", "x.x.x.x.x.x.....", "", 1.0};
const Groove LIGHT = {"X.......X..x....", "....X.......X...", "x.x.x.x.x.x.x.x.", "..............x.", 0.9};
// The wind-up: the snare doubles its rate every bar and grows louder.
const Groove BUILD_1 = {"X...X...X...X...", "X...X...X...X...", "", "", 0.6};
const Groove BUILD_2 = {"X...X...X...X...", "X.x.X.x.X.x.X.x.", "", "", 0.7};
const Groove BUILD_3 = {"X...X...X...X...", "XxXxXxXxXxXxXxXx", "", "", 0.85};
const Groove BUILD_4 = {"X...X...X...X...", "XXXXXXXXXXXXXXXX", "", "", 1.0};
// The last stretch: four on the floor, running sixteenths, open hats on the off-beats.
const Groove DRIVE = {"X...X...X...X...", "....X.......X...", "xx.xxx.xxx.xxx.x", "..x...x...x...x.", 1.0};
const Groove DRIVE_FILL = {"X...X...X...X...", "....X.....XxXXXX", "xx.xxx.xxx......", "..x...x.........", 1.0};
const Groove FINAL_HIT = {"X...............", "X...............", "", "", 1.0};

struct BarPlan {
    const char* chords;  // one or two chord symbols sharing the bar equally
    const char* melody;  // lead pattern in eighths, in C; empty for none
    const Groove* groove;
    const char* bassLine = "";  // written-out bass instead of the chase octaves
};

// How the chords are played.
enum class Comping { Stabs, StabsAndPad, Hold };
// Whether rising arpeggios run over the chords.
enum class Arpeggio { Off, On };
// Whether a cymbal crashes on the first beat of a section.
enum class Crash { None, OnFirstBeat };

struct Section {
    std::vector<BarPlan> bars;
    double tempoFrom;  // beats per minute in the first bar
    double tempoTo;    // and in the last, moving evenly in between
    int transpose;     // semitones above the written key of C
    Comping comping;
    Arpeggio arpeggio;
    Crash crash;
};

// The main tune, in C: a bouncing rise and fall over C Am F G.
std::vector<BarPlan> themeA(const Groove& groove, const Groove& fill) {
    return {{"C", "G4 C5 E5 G5 - E5 G5 -", &groove},     {"Am", "A5 - G5 E5 - C5 E5 -", &groove},
            {"F", "F5 - A5 - C6 - A5 F5", &groove},      {"G", "G5 - - D5 G5 - B4 D5", &groove},
            {"C", "E5 G5 C6 - B5 C6 D6 -", &groove},     {"Am", "C6 - A5 - E5 - A5 -", &groove},
            {"F G", "F5 A5 C6 A5 G5 B5 D6 B5", &groove}, {"C", "C6 - - - G5 - . .", &fill}};
}

// Its answer, over the same chords.
std::vector<BarPlan> themeAnswer(const Groove& groove, const Groove& fill) {
    return {{"C", "E5 - C5 - G4 - C5 E5", &groove},    {"Am", "A5 - - C6 B5 A5 G5 E5", &groove},
            {"F", "F5 - - A5 G5 F5 E5 F5", &groove},   {"G", "D5 - - - B4 - D5 -", &groove},
            {"C", "E5 G5 C6 - E6 - D6 C6", &groove},   {"Am", "A5 - C6 - E6 - C6 A5", &groove},
            {"F G", "F5 - A5 C6 B5 - G5 B5", &groove}, {"C", "C6 - G5 - C6 - . .", &fill}};
}

// The bridge: longer notes over F G Em Am, ending on a run up to the tune.
std::vector<BarPlan> bridge(const Groove& groove, const Groove& fill) {
    return {{"F", "A5 - - - C6 - A5 -", &groove},    {"G", "B5 - - - D6 - B5 -", &groove},
            {"Em", "G5 - E5 - B4 - E5 G5", &groove}, {"Am", "A5 - - - - - C6 B5", &groove},
            {"F", "A5 - F5 - C6 - F6 -", &groove},   {"G", "E6 - D6 - B5 - G5 -", &groove},
            {"C", "C6 - G5 - E5 - G5 -", &groove},   {"G", "D5 E5 F5 G5 A5 B5 C6 D6", &fill}};
}

// Four bars of rising arpeggios over a snare roll, the bass climbing to A,
// the dominant of the last stretch's D major.
std::vector<BarPlan> windUp() {
    return {{"Am", "A4 - C5 - E5 - A5 -", &BUILD_1},
            {"F", "A4 - C5 - F5 - A5 -", &BUILD_2},
            {"G", "B4 - D5 - G5 - B5 -", &BUILD_3},
            {"G A", "D5 - G5 - A5 - C#6 -", &BUILD_4, "G2 G2 G#2 G#2 A2 A2 A2 A2"}};
}

std::vector<Section> arrangement() {
    const std::vector<BarPlan> intro = {
        {"C", "", &INTRO}, {"Am", "", &INTRO}, {"F", "", &CHASE}, {"G", "", &CHASE_FILL}};
    return {
        {intro, 150, 150, 0, Comping::Stabs, Arpeggio::Off, Crash::None},
        {themeA(CHASE, CHASE_FILL), 150, 150, 0, Comping::Stabs, Arpeggio::Off, Crash::OnFirstBeat},
        {themeAnswer(CHASE, CHASE_FILL), 150, 150, 0, Comping::Stabs, Arpeggio::Off, Crash::OnFirstBeat},
        {bridge(LIGHT, CHASE_FILL), 150, 150, 0, Comping::StabsAndPad, Arpeggio::Off, Crash::OnFirstBeat},
        {themeA(CHASE, CHASE_FILL), 150, 150, 0, Comping::Stabs, Arpeggio::On, Crash::OnFirstBeat},
        {windUp(), 152, 166, 0, Comping::Stabs, Arpeggio::Off, Crash::None},
        {themeA(DRIVE, DRIVE_FILL), 168, 168, 2, Comping::Stabs, Arpeggio::On, Crash::OnFirstBeat},
        {bridge(DRIVE, DRIVE_FILL), 168, 168, 2, Comping::StabsAndPad, Arpeggio::On, Crash::OnFirstBeat},
        {themeAnswer(DRIVE, DRIVE_FILL), 168, 168, 2, Comping::Stabs, Arpeggio::On, Crash::OnFirstBeat},
        {{{"C", "C6 - - - - - - -", &FINAL_HIT}}, 168, 168, 2, Comping::Hold, Arpeggio::Off, Crash::OnFirstBeat},
    };
}

std::vector<int> transposed(std::vector<int> pitchClasses, int transpose) {
    for (int& pitchClass : pitchClasses) {
        pitchClass = (pitchClass + transpose + 12) % 12;
    }
    return pitchClasses;
}

// One chord's share of a bar, with everything that follows the harmony.
struct ChordSpan {
    std::vector<int> pitchClasses;  // root first
    double start;
    double length;
    double eighth;  // seconds per eighth note in this bar
};

// The chase bass: root and its octave alternating in eighths.
void addBass(std::vector<NoteEvent>& events, const ChordSpan& span, Comping comping) {
    const int root = voiceInWindow({span.pitchClasses[0]}, 35)[0];
    if (comping == Comping::Hold) {
        events.push_back({Instrument::Bass, span.start, span.length, static_cast<double>(root), 1.0});
        return;
    }
    const int slots = static_cast<int>(span.length / span.eighth + 0.5);
    for (int slot = 0; slot < slots; ++slot) {
        const bool onBeat = slot % 2 == 0;
        events.push_back({Instrument::Bass, span.start + slot * span.eighth, span.eighth,
                          static_cast<double>(onBeat ? root : root + 12), onBeat ? 1.0 : 0.8});
    }
}

// Chord stabs on every off-beat, a held pad, or both.
void addComping(std::vector<NoteEvent>& events, const ChordSpan& span, Comping comping) {
    const std::vector<int> stabNotes = voiceInWindow(span.pitchClasses, 57);
    if (comping == Comping::Hold) {
        for (int note : stabNotes) {
            events.push_back({Instrument::Stab, span.start, span.length, static_cast<double>(note), 1.0});
            events.push_back({Instrument::Pad, span.start, span.length, static_cast<double>(note), 1.0});
        }
        return;
    }
    const int slots = static_cast<int>(span.length / span.eighth + 0.5);
    for (int slot = 1; slot < slots; slot += 2) {
        for (int note : stabNotes) {
            events.push_back(
                {Instrument::Stab, span.start + slot * span.eighth, span.eighth * 0.6, static_cast<double>(note), 0.9});
        }
    }
    if (comping == Comping::StabsAndPad) {
        for (int note : voiceInWindow(span.pitchClasses, 52)) {
            events.push_back({Instrument::Pad, span.start, span.length, static_cast<double>(note), 0.9});
        }
    }
}

// Sixteenths running up and down the chord above the tune's register.
void addArpeggio(std::vector<NoteEvent>& events, const ChordSpan& span) {
    std::vector<int> tones = voiceInWindow(span.pitchClasses, 67);
    std::sort(tones.begin(), tones.end());
    tones.push_back(tones.front() + 12);
    std::vector<int> upAndDown = tones;
    for (size_t i = tones.size() - 2; i > 0; --i) {
        upAndDown.push_back(tones[i]);
    }
    const double sixteenth = span.eighth * 0.5;
    const int slots = static_cast<int>(span.length / sixteenth + 0.5);
    for (int slot = 0; slot < slots; ++slot) {
        const int note = upAndDown[static_cast<size_t>(slot) % upAndDown.size()];
        events.push_back({Instrument::Arpeggio, span.start + slot * sixteenth, sixteenth * 0.8,
                          static_cast<double>(note), slot % 4 == 0 ? 1.0 : 0.75});
    }
}

void addDrums(std::vector<NoteEvent>& events, const Groove& groove, double barStart, double barLength) {
    addDrumLane(events, Instrument::Kick, groove.kick, barStart, barLength, groove.level);
    addDrumLane(events, Instrument::Snare, groove.snare, barStart, barLength, groove.level);
    addDrumLane(events, Instrument::ClosedHat, groove.closedHat, barStart, barLength, groove.level);
    addDrumLane(events, Instrument::OpenHat, groove.openHat, barStart, barLength, groove.level);
}

void addBar(Score& score, const Section& section, const BarPlan& bar, int barIndex) {
    const double start = score.tempo.barStart(barIndex);
    const double length = score.tempo.barLength(barIndex);
    const std::vector<std::string> chords = splitTokens(bar.chords);
    for (size_t i = 0; i < chords.size(); ++i) {
        ChordSpan span{transposed(chordPitchClasses(chords[i]), section.transpose), start + i * length / chords.size(),
                       length / chords.size(), length / 8.0};
        if (span.pitchClasses.empty()) {
            continue;  // not a chord symbol this sequencer knows
        }
        if (*bar.bassLine == '\0') {
            addBass(score.events, span, section.comping);
        }
        addComping(score.events, span, section.comping);
        if (section.arpeggio == Arpeggio::On) {
            addArpeggio(score.events, span);
        }
    }
    addMelody(score.events, Instrument::Bass, bar.bassLine, start, length, section.transpose, 1.0);
    addMelody(score.events, Instrument::Lead, bar.melody, start, length, section.transpose, 0.85);
    addDrums(score.events, *bar.groove, start, length);
}

}  // namespace

Score composeChase() {
    Score score;
    for (const Section& section : arrangement()) {
        const size_t barCount = section.bars.size();
        for (size_t i = 0; i < barCount; ++i) {
            const double progress = barCount > 1 ? static_cast<double>(i) / (barCount - 1) : 0.0;
            score.tempo.addBar(section.tempoFrom + (section.tempoTo - section.tempoFrom) * progress);
            const int barIndex = score.tempo.barCount() - 1;
            addBar(score, section, section.bars[i], barIndex);
            if (i == 0 && section.crash == Crash::OnFirstBeat) {
                score.events.push_back({Instrument::Crash, score.tempo.barStart(barIndex), 0.0, 0.0, 1.0});
            }
        }
    }
    return score;
}
