#pragma once

#include <vector>

#include "sounds/Sequencer.h"

// A piece as timed notes for every instrument.
struct Score {
    TempoMap tempo;
    std::vector<NoteEvent> events;
};

// The show's music: a cheerful chase in C major at 150 beats a minute that
// winds up through a snare build into D major at 168 for its last half
// minute, and ends on a held chord. About 100 seconds.
Score composeChase();
