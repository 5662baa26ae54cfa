#pragma once

#include "CaptureOptions.h"
#include "ShowPlayer.h"

// Plays the started show once, from its first frame to the last the options
// need, and writes what they ask for: stills, a sequence, a video, a sound
// track. The first file that cannot be written whole ends the run. Returns
// the process's exit status: 0 when everything was written, 1 after a line
// naming what failed.
int runCapture(ShowPlayer& player, const CaptureOptions& options);
