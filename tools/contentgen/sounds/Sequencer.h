#pragma once

#include <string>
#include <vector>

// A small score-to-events sequencer: bars of 4 beats, each bar with its own
// tempo, and patterns written as text, one token per slot.
//
// Pattern text: tokens separated by spaces, all slots of a bar the same
// length (8 tokens are eighth notes, 16 sixteenths). A note name such as
// "C5", "F#4" or "Bb3" starts a note (C4 is MIDI 60), "-" holds the note
// before it one slot longer, "." is a rest. Drum lanes use "x" for a hit,
// "X" for an accented hit and "." for nothing.

enum class Instrument { Kick, Snare, ClosedHat, OpenHat, Crash, Bass, Stab, Pad, Lead, Arpeggio, COUNT };

struct NoteEvent {
    Instrument instrument = Instrument::Lead;
    double startSeconds = 0.0;
    double lengthSeconds = 0.0;  // how long the note is held; the release comes after
    double pitch = 60.0;         // MIDI note number
    double velocity = 1.0;       // 0 to 1
};

// Seconds at the start of each bar, from every bar's tempo.
class TempoMap {
public:
    void addBar(double beatsPerMinute);
    int barCount() const { return static_cast<int>(barStarts.size()); }
    double barStart(int bar) const { return barStarts[static_cast<size_t>(bar)]; }
    double barLength(int bar) const { return barLengths[static_cast<size_t>(bar)]; }
    double endSeconds() const;

private:
    std::vector<double> barStarts;
    std::vector<double> barLengths;
};

// MIDI number of a note name ("C4" is 60); -1 when the text is not a note.
int noteNumber(const std::string& name);

std::vector<std::string> splitTokens(const std::string& text);

// Notes of a melodic pattern placed in one bar, transposed by `transpose` semitones.
void addMelody(std::vector<NoteEvent>& events, Instrument instrument, const std::string& pattern, double barStart,
               double barLength, int transpose, double velocity);

// Hits of a drum lane placed in one bar; "X" hits at full `velocity`, "x" at 70 %.
void addDrumLane(std::vector<NoteEvent>& events, Instrument instrument, const std::string& lane, double barStart,
                 double barLength, double velocity);

// A chord symbol: root letter, optional '#' or 'b', then "m" (minor), "7"
// (dominant seventh) or "m7". Gives its pitch classes (0 = C) from the root
// up; empty when the symbol is not understood.
std::vector<int> chordPitchClasses(const std::string& symbol);

// Places each pitch class in the octave window [low, low + 12).
std::vector<int> voiceInWindow(const std::vector<int>& pitchClasses, int low);
