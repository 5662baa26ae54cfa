#pragma once

// The desktop's sound libraries print on standard error by themselves: ALSA
// a line for every device it probes and cannot open, libmpg123 a note for
// every damaged frame of an MP3. The audio layer reports what goes wrong by
// its own result codes and lines, so both are kept quiet. Another platform
// with other libraries gives its own version of this file.

// Silences ALSA's error lines; called before SDL opens the sound device.
void quietAudioLibraries();
