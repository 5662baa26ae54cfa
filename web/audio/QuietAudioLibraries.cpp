#include "audio/QuietAudioLibraries.h"

// The browser's sound output and decoder print nothing of their own.
void quietAudioLibraries() {}
