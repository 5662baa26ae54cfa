#pragma once

#include <vector>

#include "sounds/Sequencer.h"

// The band: each instrument is a small synthesiser patch that renders one
// note at a time. Mono, at synth::SAMPLE_RATE.

// Adds the note, with its release tail, into `track` from the note's start;
// the track grows when the tail runs past its end.
void renderNote(const NoteEvent& note, std::vector<float>& track);
