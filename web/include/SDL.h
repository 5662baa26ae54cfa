#pragma once

// SDL2's hints and start-up, as far as the audio layer uses them in the
// browser (see SDL_audio.h).
#include "SDL_audio.h"

typedef enum { SDL_HINT_DEFAULT, SDL_HINT_NORMAL, SDL_HINT_OVERRIDE } SDL_HintPriority;
typedef int SDL_bool;

#define SDL_HINT_AUDIODRIVER "SDL_AUDIODRIVER"
#define SDL_HINT_NO_SIGNAL_HANDLERS "SDL_NO_SIGNAL_HANDLERS"

extern "C" {
// Only the audio driver's hint means anything here: "dummy" asks for the
// silent output that still plays every sound at its real pace.
SDL_bool SDL_SetHint(const char* name, const char* value);
SDL_bool SDL_SetHintWithPriority(const char* name, const char* value, SDL_HintPriority priority);
}
